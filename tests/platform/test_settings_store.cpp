#include "platform/settings/SettingsStore.h"
#include "support/TemporaryDirFixture.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace {

const QString kKey = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Pellan\\Nimbra");

class SettingsStoreTest : public TemporaryDirFixture {
protected:
    QString file() const { return settings::fileForKey(kKey); }

    void writeFile(const QByteArray &content) const
    {
        QDir().mkpath(dir() + QStringLiteral("/config/Pellan"));
        QFile out(file());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(content);
    }

    QByteArray fileContent() const
    {
        QFile in(file());
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }
};

TEST_F(SettingsStoreTest, LineEndsOfAnySystemReadAlikeAndAreSavedAsLf)
{
    for (const QByteArray &eol : {QByteArray("\r\n"), QByteArray("\n"), QByteArray("\r")}) {
        SCOPED_TRACE(eol.toHex().toStdString());
        writeFile("UserID=taro" + eol + "Password= p w " + eol + eol + "EMail=a@b.test" + eol);

        const auto read = settings::readKey(kKey);
        ASSERT_TRUE(read.ok()) << read.problem().toStdString();
        ASSERT_TRUE(read.value().has_value());
        const settings::Values expected{{QStringLiteral("UserID"), QStringLiteral("taro")},
                                        {QStringLiteral("Password"), QStringLiteral(" p w ")},
                                        {QStringLiteral("EMail"), QStringLiteral("a@b.test")}};
        EXPECT_EQ(*read.value(), expected);

        ASSERT_TRUE(settings::writeValues(kKey, {{QStringLiteral("POPUserID"), QStringLiteral("u")}}).ok());
        EXPECT_EQ(fileContent(), QByteArray("EMail=a@b.test\nPOPUserID=u\nPassword= p w \nUserID=taro\n"));
    }
}

TEST_F(SettingsStoreTest, MissingFileIsNoKeyNotAProblem)
{
    const auto read = settings::readKey(kKey);
    ASSERT_TRUE(read.ok());
    EXPECT_FALSE(read.value().has_value());
}

TEST_F(SettingsStoreTest, FileThatCannotBeReadIsAProblemAndIsNeverReplaced)
{
    const QByteArray stored("UserID=taro\nPassword=secret\n");
    struct Case {
        const char *name;
        bool asDirectory; // else a file its owner may write but not read
    };
    for (const Case c : {Case{"directory", true}, Case{"write-only file", false}}) {
        SCOPED_TRACE(c.name);
        if (!c.asDirectory && geteuid() == 0)
            continue; // the superuser reads any file
        QFile::remove(file());
        QDir(file()).removeRecursively();
        if (c.asDirectory) {
            ASSERT_TRUE(QDir().mkpath(file()));
        } else {
            writeFile(stored);
            QFile::setPermissions(file(), QFileDevice::WriteOwner);
        }

        const auto read = settings::readKey(kKey);
        EXPECT_FALSE(read.ok());
        EXPECT_TRUE(read.problem().contains(file())) << read.problem().toStdString();

        const sys::Status written = settings::writeValues(kKey, {{QStringLiteral("UserID"), QString()}});
        EXPECT_FALSE(written.ok());
        EXPECT_TRUE(written.problem().contains(file())) << written.problem().toStdString();

        if (!c.asDirectory) {
            QFile::setPermissions(file(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            EXPECT_EQ(fileContent(), stored);
        }
    }
}

} // namespace
