#pragma once

#include <atomic>
#include <functional>

#include <QDialog>

class QEventLoop;
class QProgressBar;
class QPushButton;

namespace app {

// The small window that shows how far a long command is: one bar from 0 to
// 100 and a Cancel button. It runs the work on a thread of its own, modal
// to the window it is centred on, so that the program keeps repainting and
// no other command can start meanwhile.
class TwndProgress : public QDialog {
    Q_OBJECT
public:
    // The work gets the cancel flag to poll and a function that takes the
    // bar's value; both may be used from the work's thread.
    using Progress = std::function<void(int)>;
    using Work = std::function<void(const std::atomic<bool>& cancel, const Progress& progress)>;

    explicit TwndProgress(QWidget* parent);

    // Shows the window with `caption` and `cancelText` on its button over
    // `over`, runs `work` on a worker thread and waits for it while the
    // events go on; then hides the window. True when the work ran to its end
    // without Cancel (the work itself decides how soon it sees the flag).
    bool run(QWidget* over, const QString& caption, const QString& cancelText, const Work& work);

    [[nodiscard]] bool running() const { return m_loop != nullptr; }
    // The last run's work ended in an exception (out of memory, most likely).
    [[nodiscard]] bool failed() const { return m_failed; }
    [[nodiscard]] int barValue() const;

public slots:
    // The Cancel button, Escape and the close box: asks the work to stop.
    void requestCancel();

signals:
    // The bar took a new value (on the window's thread).
    void barChanged(int value);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void setBar(int value);

    QProgressBar* m_bar = nullptr;
    QPushButton* m_cancelButton = nullptr;
    std::atomic<bool> m_cancel{false};
    QEventLoop* m_loop = nullptr;
    int m_runId = 0;
    bool m_failed = false;
};

} // namespace app
