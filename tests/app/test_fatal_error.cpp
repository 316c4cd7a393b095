#include "app/NimbraApplication.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "support/LogTexts.h"
#include "support/MessageBoxRecorder.h"
#include "support/ProgramDirFixture.h"

namespace {

class FatalErrorTest : public ProgramDirFixture {};

// A database failure reaches the user and the log as the same line, naming the file.
TEST_F(FatalErrorTest, DatabaseFailureIsShownAndLoggedAlike)
{
    const QString broken = writeFile(QStringLiteral("Nimbra.mdb"), QByteArray(4096, 'x'));
    glngLogFileNo = openLog();
    try {
        db::Connection connection;
        connection.open(broken);
        FAIL() << "a broken file was opened";
    } catch (const db::Error &e) {
        reportFatalError(e.message());
    }

    const QStringList shown = MessageBoxRecorder::instance().texts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.first().contains(broken)) << shown.first().toStdString();
    EXPECT_TRUE(logTexts(path(QStringLiteral("Nimbra.log"))).contains(QStringLiteral("エラー:") + shown.first()));
}

} // namespace
