#include "core/modRegistry.h"

#include "platform/sys/ProgramDir.h"
#include "platform/text/Format.h"

namespace {
// The registry's codes for a key that does not exist and for one that cannot be used.
constexpr int kErrorFileNotFound = 2;
constexpr int kErrorAccessDenied = 5;

QString keyPath(const QString &rootKey, const QString &subKey)
{
    return rootKey + u'\\' + subKey;
}
} // namespace

QString settingsSubKey()
{
    return QStringLiteral("Software\\Pellan\\") + sys::exeName();
}

QString regGetString(const QString &rootKey, const QString &subKey, const QString &valueName)
{
    const sys::Result<std::optional<settings::Values>> values = settings::readKey(keyPath(rootKey, subKey));
    if (!values.ok())
        return QStringLiteral("(Error Code = %1)").arg(kErrorAccessDenied);
    if (!values.value())
        return QStringLiteral("(Error Code = %1)").arg(kErrorFileNotFound);
    return values.value()->value(valueName);
}

int regSetString(const QString &rootKey, const QString &subKey, const QString &valueName, const QString &value)
{
    return regSetStrings(rootKey, subKey, {{valueName, value}}).ok() ? 0 : kErrorAccessDenied;
}

sys::Status regSetStrings(const QString &rootKey, const QString &subKey, const settings::Values &values)
{
    return settings::writeValues(keyPath(rootKey, subKey), values);
}

sys::Status checkSettingsReadable()
{
    const sys::Result<std::optional<settings::Values>> values =
        settings::readKey(keyPath(HKEY_LOCAL_MACHINE, settingsSubKey()));
    return values.ok() ? sys::Status::success() : sys::Status::failure(values.problem());
}

QString getVersionNo()
{
    return text::formatZeroPadded(NIMBRA_VERSION_MAJOR, 2) + text::formatZeroPadded(NIMBRA_VERSION_MINOR, 2) +
           text::formatZeroPadded(NIMBRA_VERSION_PATCH, 4);
}

int setRegistryVersion(const QString &versionNo)
{
    return regSetString(HKEY_LOCAL_MACHINE, settingsSubKey(), QStringLiteral("Version"), versionNo);
}
