#include "core/modRegistrySet.h"

#include "core/SettingsCatalogue.h"
#include "core/SettingsRecords.h"
#include "core/SettingsText.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modRegistry.h"
#include "platform/text/VbText.h"
#include "platform/ui/MsgBox.h"

namespace {

// A date still at the zero date keeps a stored text that does not read as a date (the
// load left the field at the zero date), so a hand-edited value is not lost for good.
QString dateText(const SettingEntry &entry, const QDateTime &value)
{
    if (value == kZeroDate) {
        const QString stored = regGetString(HKEY_LOCAL_MACHINE, settingsSubKey(), entry.name);
        if (!stored.contains(QStringLiteral("Error Code")) && text::leadingNumber(stored) != 0 &&
            !parseSettingDate(stored))
            return stored;
    }
    return settingDateText(value);
}

QString storedText(const SettingEntry &entry)
{
    return std::visit(Overloaded{
                          [&](QString *field) {
                              // Secrets are kept exactly as typed: a trim would change them. Other
                              // texts are trimmed in memory too, so the program uses what it stores.
                              if (!entry.secret)
                                  *field = text::trimSpaces(*field);
                              return *field;
                          },
                          [](const int *field) { return QString::number(*field); },
                          [](const double *field) { return settingNumberText(*field); },
                          [&](const QDateTime *field) { return dateText(entry, *field); },
                      },
                      entry.field);
}

} // namespace

bool setRegistryAll()
{
    settings::Values values;
    for (const SettingEntry &entry : settingsSaveOrder())
        values.insert(entry.name, storedText(entry));
    const int error = regSetStrings(HKEY_LOCAL_MACHINE, settingsSubKey(), values);
    if (error == 0)
        return true;
    writeLog(glngLogFileNo, QStringLiteral("設定の保存に失敗しました。コード=") + QString::number(error));
    ui::msgBox(QStringLiteral("設定を保存できませんでした。(コード=") + QString::number(error) +
                   QStringLiteral(")\n変更した設定はこのまま使われますが、次回の起動時には元に戻ります。"),
               ui::vbExclamation);
    return false;
}
