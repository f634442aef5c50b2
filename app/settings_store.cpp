#include "app/settings_store.h"

#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include "engine/settings_edit.h"

namespace app {

namespace {

constexpr const char* kGroup = "1.3";

QString key(const char* name) { return QString::fromLatin1(kGroup) + '/' + QString::fromLatin1(name); }

// The text of a stored value. An INI value with an unquoted comma comes back
// as a list; it is still one text.
std::string storedText(const QVariant& v)
{
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(", ").toStdString();
    return v.toString().toStdString();
}

} // namespace

SettingsStore::SettingsStore(const QString& fileName)
    : m_settings(std::make_unique<QSettings>(fileName, QSettings::IniFormat))
{
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::defaultFileName()
{
    const QString env = qEnvironmentVariable("VELMORA_SETTINGS");
    if (!env.isEmpty())
        return env;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/NORVIK/Velmora.ini";
}

QString SettingsStore::fileName() const { return m_settings ? m_settings->fileName() : QString(); }

bool SettingsStore::contains(const char* name) const { return m_settings && m_settings->contains(key(name)); }

std::string SettingsStore::ensureText(const char* name, const std::string& def)
{
    if (!m_settings)
        return def;
    if (!contains(name))
        writeText(name, def);
    return storedText(m_settings->value(key(name)));
}

void SettingsStore::writeText(const char* name, const std::string& value)
{
    if (m_settings)
        m_settings->setValue(key(name), QString::fromStdString(value));
}

void SettingsStore::writeRef(const engine::SettingRef& ref)
{
    switch (ref.kind) {
    case engine::SettingKind::Text: m_settings->setValue(key(ref.name), QString::fromStdString(*ref.text)); break;
    case engine::SettingKind::Integer:
        m_settings->setValue(key(ref.name), ref.word ? static_cast<int>(*ref.word) : *ref.integer);
        break;
    case engine::SettingKind::Flag: m_settings->setValue(key(ref.name), *ref.flag ? 1 : 0); break;
    case engine::SettingKind::Decimal:
        m_settings->setValue(key(ref.name), static_cast<double>(*ref.decimal));
        break;
    }
}

std::vector<std::string> SettingsStore::readAll(engine::Settings& s, const engine::Settings& defaults)
{
    std::vector<std::string> broken;
    if (!m_settings)
        return broken;
    for (const engine::SettingRef& ref : engine::settingRefs(s)) {
        if (!m_settings->contains(key(ref.name))) {
            writeRef(ref);
            continue;
        }
        if (!ref.fromText(storedText(m_settings->value(key(ref.name)))))
            broken.emplace_back(ref.name);
    }
    for (std::string& name : engine::resetOutOfRange(s, defaults))
        broken.push_back(std::move(name));
    m_settings->sync();
    return broken;
}

void SettingsStore::writeAll(engine::Settings& s)
{
    if (!m_settings)
        return;
    const std::vector<engine::SettingRef> refs = engine::settingRefs(s);
    for (const std::string_view name : engine::settingsWriteOrder()) {
        for (const engine::SettingRef& ref : refs)
            if (name == ref.name)
                writeRef(ref);
    }
    m_settings->sync();
}

void SettingsStore::sync()
{
    if (m_settings)
        m_settings->sync();
}

void SettingsStore::close()
{
    if (!m_settings)
        return;
    m_settings->sync();
    m_settings.reset();
}

} // namespace app
