#pragma once

#include <QDateTime>
#include <QString>

#include <variant>

// A reference to one setting's storage, whatever its kind, and a record field given by
// its member pointer; the catalogue and the dialogs' copy routines are tables of these.

using SettingField = std::variant<QString *, int *, double *, QDateTime *>;

template <typename Record>
using RecordMember = std::variant<QString Record::*, int Record::*, double Record::*, QDateTime Record::*>;

// The field `member` of one record instance.
template <typename Record>
SettingField fieldOf(Record &record, const RecordMember<Record> &member)
{
    return std::visit([&record](auto pointer) -> SettingField { return &(record.*pointer); }, member);
}

// Visits a variant with one lambda per kind.
template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
