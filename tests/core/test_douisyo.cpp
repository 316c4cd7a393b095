#include "core/frmDouisyo.h"
#include "support/LoopbackHttpServer.h"
#include "support/ProgramDirFixture.h"

#include <QFile>
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
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(Douisyo, DisagreeingRejectsAndAMissingPageIsSaid)
{
    writeSiteFile(server.baseUrl() + QStringLiteral("missing"));
    frmDouisyo dialog;
    dialog.show();
    EXPECT_TRUE(shownText(dialog).startsWith(QStringLiteral("使用許諾書を表示できません。")));
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdCancel")), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

} // namespace
