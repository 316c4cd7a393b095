#include "core/modRegistrySet.h"

#include "core/SettingsCatalogue.h"
#include "core/SettingsText.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modRegistry.h"
#include "platform/text/VbText.h"
#include "platform/ui/MsgBox.h"

namespace {

QString storedText(const SettingEntry &entry)
{
    return std::visit(Overloaded{
                          // Secrets are kept exactly as typed: a trim would change them.
                          [&](const QString *field) { return entry.secret ? *field : text::trimSpaces(*field); },
                          [](const int *field) { return QString::number(*field); },
                          [](const double *field) { return settingNumberText(*field); },
                          [](const QDateTime *field) { return settingDateText(*field); },
                      },
                      entry.field);
}

} // namespace

bool setRegistryAll()
{
    settings::Values values;
    for (const SettingEntry &entry : settingsSaveOrder())
        values.insert(entry.name, storedText(entry));
    const sys::Status saved = regSetStrings(HKEY_LOCAL_MACHINE, settingsSubKey(), values);
    if (saved.ok())
        return true;
    writeLog(glngLogFileNo, QStringLiteral("設定の保存に失敗しました。") + saved.problem());
    ui::msgBox(QStringLiteral("設定を保存できませんでした。") + saved.problem() +
                   QStringLiteral("\n変更した設定はこのまま使われますが、次回の起動時には元に戻ります。"),
               ui::vbExclamation);
    return false;
}
