// The README's by-hand path tells a new user what the first start shows: the dialogs are
// named as the program captions them, and the settings line it gives for paper mode is the
// one the program reads.
#include "core/SettingsRecords.h"
#include "core/frmConfID.h"
#include "core/frmConfPOP.h"
#include "core/modRegistryGet.h"
#include "support/ProgramDirFixture.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

class Readme : public ProgramDirFixture {
protected:
    static QString readme()
    {
        QFile file(QStringLiteral(NIMBRA_TESTS_DIR "/../README.md"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QString::fromUtf8(file.readAll());
    }
};

TEST_F(Readme, NamesTheFirstStartsDialogsAsTheyAreCaptioned)
{
    const QString text = readme();
    frmConfID login;
    frmConfPOP mailbox;
    for (const QDialog *dialog : std::initializer_list<const QDialog *>{&login, &mailbox})
        EXPECT_TRUE(text.contains(u'"' + dialog->windowTitle() + u'"')) << dialog->windowTitle().toStdString();
}

TEST_F(Readme, ItsPaperModeLineKeepsTheFirstStartInPaperMode)
{
    const QString line = QStringLiteral("SelZituKounyu=1");
    ASSERT_TRUE(readme().contains(u'`' + line + u'`'));
    const qsizetype eq = line.indexOf(u'=');
    storeSettings({{line.left(eq), line.mid(eq + 1)}});
    getRegistryAll();
    EXPECT_TRUE(sysBS.paperMode());
}

} // namespace
