#pragma once

#include <optional>

#include <QPoint>
#include <QString>

class QWidget;

namespace app {

// Shows message boxes. Every message of the program goes through the one
// installed Messenger, so the tests can replace the boxes by a recorder that
// answers in their place.
class Messenger {
public:
    enum class Kind { Plain, Information, Warning, Error, Confirmation };
    enum class Buttons { Ok, YesNo, YesNoCancel, SaveDiscardCancel, OkIgnore };
    enum class Answer { Ok, Yes, No, Cancel, Save, Discard, Ignore };

    // The buttons' texts in the program's language; an empty text leaves
    // the one of Qt's translation.
    struct ButtonTexts {
        QString ok, yes, no, cancel, save, discard;
    };

    virtual ~Messenger() = default;
    // `topLeft` places the box's top-left corner (screen pixels); without it
    // the box is centred on `parent`.
    virtual Answer show(QWidget* parent, Kind kind, const QString& text, Buttons buttons,
                        std::optional<QPoint> topLeft) = 0;

    // The installed messenger (a QMessageBox one unless replaced).
    static Messenger& current();
    // Installs `m` (not owned; nullptr restores the QMessageBox one).
    static void install(Messenger* m);

    // Set when a language is loaded; the message boxes label their buttons so.
    static void setButtonTexts(const ButtonTexts& texts);
    [[nodiscard]] static const ButtonTexts& buttonTexts();
};

// Message boxes on the screen.
class BoxMessenger : public Messenger {
public:
    Answer show(QWidget* parent, Kind kind, const QString& text, Buttons buttons,
                std::optional<QPoint> topLeft) override;
};

} // namespace app
