#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "app/bands_dialog.h"
#include "app/diagram_page.h"
#include "app/forms.h"
#include "app/import_dialog.h"
#include "app/input_page.h"
#include "app/main_menus.h"
#include "app/report_page.h"
#include "app/settings_dialog.h"
#include "app/file_dialogs.h"
#include "app/messenger.h"

namespace apptest {

// Answers the open and save dialogs from a queue (cancel when it is empty)
// and keeps what each dialog was asked to show.
class RecordingFileDialogs : public app::FileDialogs {
public:
    std::vector<app::FileDialogRequest> requests;
    std::deque<std::optional<QString>> answers;

    std::optional<QString> choose(QWidget*, const app::FileDialogRequest& request) override
    {
        requests.push_back(request);
        if (answers.empty())
            return std::nullopt;
        std::optional<QString> a = answers.front();
        answers.pop_front();
        return a;
    }
};

// Records every message box instead of showing it and answers from a queue
// (Yes for questions when the queue is empty, Discard for the question
// whether to save changes).
class RecordingMessenger : public app::Messenger {
public:
    struct Shown {
        Kind kind;
        QString text;
        Buttons buttons;
        std::optional<QPoint> at;
    };
    std::vector<Shown> shown;
    std::deque<Answer> answers;

    Answer show(QWidget*, Kind kind, const QString& text, Buttons buttons, std::optional<QPoint> at) override
    {
        shown.push_back({kind, text, buttons, at});
        if (!answers.empty()) {
            const Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        if (buttons == Buttons::SaveDiscardCancel)
            return Answer::Discard;
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Yes;
    }
};

// A program folder and a settings file of its own for every test: the
// language files of the program, a band type file of three records.
class AppTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RecordingMessenger messages;
    app::Forms forms;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QDir().mkpath(home() + "Lang");
        QDir().mkpath(home() + "Config");
        for (const char* name : {"English.vll", "Srpski.vll"})
            ASSERT_TRUE(QFile::copy(QString(VELMORA_SOURCE_DIR) + "/data/Lang/" + name, home() + "Lang/" + name));
        ASSERT_TRUE(QFile::copy(QString(TEST_DATA_DIR) + "/app/home/Config/bands.vlb", home() + "Config/bands.vlb"));
        QFile::setPermissions(home() + "Config/bands.vlb", QFile::ReadOwner | QFile::WriteOwner);
        qputenv("VELMORA_SETTINGS", settingsFile().toUtf8());
        app::Messenger::install(&messages);
    }

    void TearDown() override
    {
        forms = {};
        app::Messenger::install(nullptr);
    }

    [[nodiscard]] QString home() const { return dir.path() + "/"; }
    [[nodiscard]] QString settingsFile() const { return dir.path() + "/settings.ini"; }

    // Writes the settings file: section [1.3] with these lines.
    void writeSettings(const QStringList& lines)
    {
        QFile f(settingsFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("[1.3]\n");
        for (const QString& l : lines)
            f.write(l.toUtf8() + "\n");
    }

    // Reads one value back from the settings file.
    [[nodiscard]] QString stored(const char* name) const
    {
        QFile f(settingsFile());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        const QString prefix = QString(name) + "=";
        for (const QByteArray& line : f.readAll().split('\n'))
            if (QString::fromUtf8(line).startsWith(prefix))
                return QString::fromUtf8(line).mid(prefix.size()).trimmed();
        return {};
    }

    // Starts the program in English (unless other settings were written).
    void start(const QStringList& args = {}, bool english = true)
    {
        if (english && !QFile::exists(settingsFile()))
            writeSettings({"iLang=Finished", "Jezik=English"});
        forms = app::createForms({home().toStdString(), settingsFile(), args});
        ASSERT_TRUE(forms.main->startError().isEmpty()) << forms.main->startError().toStdString();
    }

    // Shows the main window and makes it active, so that focus moves.
    void showActive()
    {
        forms.main->show();
        QApplication::setActiveWindow(forms.main.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(forms.main.get()));
    }

    [[nodiscard]] app::TMainForm& main() { return *forms.main; }
    [[nodiscard]] QString text(int n) const { return forms.main->text(n); }

    // Types `text` into a field that has the focus and presses Enter.
    static void typeEnter(QWidget* w, const QString& text)
    {
        w->setFocus();
        QTest::keyClicks(w, text);
        QTest::keyClick(w, Qt::Key_Return);
    }
};

} // namespace apptest
