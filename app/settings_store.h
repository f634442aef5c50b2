#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QString>

#include "engine/settings.h"

class QSettings;

namespace app {

// The program's persistent values, kept under the key namespace
// Software/NORVIK/Velmora/1.3: an INI file in the user's configuration
// folder (NORVIK/Velmora.ini, section [1.3]), or the file named by the
// environment variable VELMORA_SETTINGS. Reads and writes engine::Settings.
class SettingsStore {
public:
    // Opens the store (the file is created on the first write).
    explicit SettingsStore(const QString& fileName = defaultFileName());
    ~SettingsStore();

    // $VELMORA_SETTINGS, else the INI file in the configuration folder.
    [[nodiscard]] static QString defaultFileName();
    [[nodiscard]] QString fileName() const;

    [[nodiscard]] bool contains(const char* name) const;
    // A text value, written first with `def` when the store has none.
    [[nodiscard]] std::string ensureText(const char* name, const std::string& def);
    void writeText(const char* name, const std::string& value);

    // Start-up read: for every value in order, writes its default when the
    // store has none, then reads it. A stored value of the wrong kind, or out
    // of the range the program can use, keeps its default; the names of such
    // values come back so that the user can be told.
    [[nodiscard]] std::vector<std::string> readAll(engine::Settings& s, const engine::Settings& defaults);

    // Writing at close, in the fixed order; errors are ignored.
    void writeAll(engine::Settings& s);

    // Writes what was changed to the file now.
    void sync();

    // Flushes and closes the file; later calls do nothing.
    void close();

private:
    void writeRef(const engine::SettingRef& ref);

    std::unique_ptr<QSettings> m_settings;
};

} // namespace app
