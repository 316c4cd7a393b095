#include "core/frmDouisyo.h"
#include "support/LoopbackHttpServer.h"
#include "support/ProgramDirFixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace {

class Douisyo : public ProgramDirFixture {
protected:
    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        server.server().Get("/", [](const httplib::Request &, httplib::Response &response) {
            response.set_content("<html><body><p>\x8E\x67\x97\x70\x8B\x96\x91\xF8\x8F\x91</p></body></html>",
                                 "text/html; charset=Shift_JIS"); // 使用許諾書 in CP932
        });
        server.start();
    }

    void writeSiteFile(const QString &consent)
    {
        QFile file(path(QStringLiteral("Nimbra_site.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("[Hosts]\nConsent=%1\n").arg(consent).toUtf8());
    }

    static QString shownText(frmDouisyo &dialog)
    {
        auto *browser = dialog.findChild<QTextBrowser *>(QStringLiteral("WebBrowser1"));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !browser->toPlainText().isEmpty(); }, 5000));
        return browser->toPlainText();
    }

    LoopbackHttpServer server;
};

TEST_F(Douisyo, ShowsTheTermsAndAgreeingAccepts)
{
    writeSiteFile(server.baseUrl());
    frmDouisyo dialog;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("使用許諾書"));
    EXPECT_EQ(shownText(dialog), QStringLiteral("使用許諾書"));
    EXPECT_TRUE(dialog.findChild<QPushButton *>(QStringLiteral("cmdOK"))->isEnabled());
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(Douisyo, TermsThatWereNotShownCannotBeAgreedTo)
{
    server.server().Get(
        "/empty", [](const httplib::Request &, httplib::Response &response) { response.set_content("", "text/html"); });
    const struct {
        const char *name;
        QString address;
    } cases[] = {
        {"a missing page", server.baseUrl() + QStringLiteral("missing")},
        {"an empty page", server.baseUrl() + QStringLiteral("empty")},
        {"no address", QString()},
    };
    for (const auto &c : cases) {
        writeSiteFile(c.address);
        frmDouisyo dialog;
        dialog.show();
        const QString shown = shownText(dialog);
        EXPECT_TRUE(shown.startsWith(QStringLiteral("使用許諾書を表示できません。"))) << c.name;
        EXPECT_TRUE(shown.contains(QStringLiteral("もう一度起動してください"))) << c.name;
        auto *agree = dialog.findChild<QPushButton *>(QStringLiteral("cmdOK"));
        EXPECT_FALSE(agree->isEnabled()) << c.name;
        QTest::mouseClick(agree, Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible()) << c.name;
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdCancel")), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible()) << c.name;
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << c.name;
    }
}

// The way in by hand: the fake quote site started on the program directory, as often as
// the user likes, prints the [Hosts] lines, and with them the terms can be agreed to.
TEST_F(Douisyo, TheFakeQuoteSiteByHandShowsTermsThatCanBeAgreedTo)
{
    createDatabases();
    for (int run = 1; run <= 2; ++run) {
        QProcess site;
        site.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        site.start(QCoreApplication::applicationDirPath() + QStringLiteral("/support/fake_quote_site"),
                   {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--master"), dir()});
        ASSERT_TRUE(site.waitForStarted());
        QString printed;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                printed += QString::fromUtf8(site.readAllStandardOutput());
                return printed.contains(QStringLiteral("Consent=")) && printed.endsWith(u'\n');
            },
            10000))
            << "run " << run << ": " << printed.toStdString();
        QFile file(path(QStringLiteral("Nimbra_site.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(printed.mid(printed.indexOf(QStringLiteral("[Hosts]"))).toUtf8());
        file.close();

        frmDouisyo dialog;
        dialog.show();
        EXPECT_TRUE(shownText(dialog).contains(QStringLiteral("使用許諾書"))) << "run " << run;
        EXPECT_TRUE(dialog.findChild<QPushButton *>(QStringLiteral("cmdOK"))->isEnabled()) << "run " << run;
        site.terminate();
        EXPECT_TRUE(site.waitForFinished(5000));
        EXPECT_EQ(site.exitCode(), 0) << "run " << run;
    }
}

} // namespace
