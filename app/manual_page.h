#pragma once

#include <functional>
#include <memory>
#include <thread>

#include <QWidget>

namespace engine {
class log3;
class ManualSession;
struct Status;
} // namespace engine

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QStatusBar;
class QTimer;
class QFrame;
class QSoundEffect;

namespace app {

class TMainForm;

// The preview of the candidate at the slider position; it tells the page
// about mouse moves so that the finished notice can go.
class ManualPreview : public QWidget {
    Q_OBJECT
public:
    explicit ManualPreview(QWidget* parent = nullptr);
    std::function<void(QPainter&)> paint;
    std::function<void()> mouseMoved;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

// The manual optimisation page (pag2): the preview of the sheet being filled,
// the control column beside it, the candidate slider and the status bar.
// It runs the manual mode: a ManualSession over the main window's project
// and the program's one block search, whose searches run on a worker thread
// while the window keeps working.
class ManualPage : public QWidget {
    Q_OBJECT
public:
    explicit ManualPage(QWidget* parent = nullptr);
    ~ManualPage() override;

    // The window whose project the mode fills (set once, before use).
    void setMainForm(TMainForm* main) { m_main = main; }

    // The mode's commands.
    void Button1Click();  // enter
    void BitBtn5Click();  // Start: the search runs on; searching() until it ends
    void BitBtn6Click();  // Stop: ends the search after its generation
    void BitBtn7Click();  // O.K.
    void PrekiniClick();  // abandon
    void BitBtn12Click(); // Alpha + 0.001
    void BitBtn13Click(); // Alpha + 0.005
    void BitBtn14Click(); // Alpha + 0.010
    void ScrollBar1Change(int position);
    void Timer1Timer();
    void Panel3Click();

    [[nodiscard]] bool active() const;
    [[nodiscard]] bool searching() const { return m_searching; }
    // Runs the window's events until the running search has ended (tests,
    // the screenshot, the window going).
    void waitForSearch();
    [[nodiscard]] const engine::ManualSession* session() const { return m_session.get(); }
    [[nodiscard]] const engine::log3& searchEngine() const { return *m_engine; }
    // The text of status panel i (0..4).
    [[nodiscard]] QString statusText(int panel) const;
    // The finished sheet's sound: SoundPath, else sound.wav in the program
    // folder, played without waiting. A file that cannot be played shows
    // message 8 and switches the sound off (when it is found out, which may
    // be after the file has loaded).
    void playFinishedSound();
    [[nodiscard]] int soundAttempts() const { return m_soundAttempts; }
    [[nodiscard]] QSoundEffect* soundEffect() const { return m_sound; }

    // The controls, by their design names.
    ManualPreview* Image3;
    QWidget* panManual;
    QLabel* Label36;   // "Br.Table:"
    QLabel* Label37;   // the current sheet's number
    QLabel* Label38;   // the current sheet's size
    QLabel* Label19;   // "Alpha"
    QLineEdit* Edit13; // Alpha
    QPushButton* BitBtn12;
    QPushButton* BitBtn13;
    QPushButton* BitBtn14;
    QLabel* Label43;   // "P.I.(%)"
    QLineEdit* Edit15; // P.I.
    QPushButton* BitBtn5;
    QPushButton* BitBtn6;
    QPushButton* BitBtn7;
    QPushButton* Prekini;
    QLabel* Label35;   // "Izabrani"
    QLineEdit* Edit14; // the slider position
    QScrollBar* ScrollBar1;
    QStatusBar* StatusBar1;
    QLabel* StatusPanels[5];
    QFrame* Panel3;
    QLabel* Label66;
    QLabel* Label67;
    QLabel* Label68;
    QTimer* Timer1;

signals:
    void searchEnded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setStatus(int panel, const QString& text);
    void showCurrentSheet();
    void startSheet();
    void paintPreview(QPainter& painter);
    void hideNotice();
    void searchFinished(const engine::Status& status);
    void soundFailed();
    // The window's commands that would change the tables under the session.
    void setModeCommands(bool modeOn);
    void finishMode();
    void showOtherPages(bool show);
    void addToAlpha(double step);
    [[nodiscard]] QString lengthText(std::int32_t length) const;

    TMainForm* m_main = nullptr;
    std::unique_ptr<engine::log3> m_engine;
    std::unique_ptr<engine::ManualSession> m_session;
    std::thread m_worker;
    bool m_searching = false;
    int m_ticks = 0;
    int m_soundAttempts = 0;
    QSoundEffect* m_sound = nullptr;
    bool m_playWhenReady = false;
};

} // namespace app
