#include "screening/ScreeningQuery.h"

db::Statement ScreeningQuery::prepare(db::Connection &connection) const
{
    db::Statement statement = connection.prepare(sql);
    int index = 0;
    for (const Value &value : values)
        std::visit([&](const auto &v) { statement.bind(++index, v); }, value);
    return statement;
}
