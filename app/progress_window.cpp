#include "app/progress_window.h"

#include <exception>
#include <system_error>
#include <thread>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>

namespace app {

namespace {

constexpr int kClientWidth = 235;
constexpr int kClientHeight = 46;

} // namespace

TwndProgress::TwndProgress(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("wndProgress");
    setWindowModality(Qt::WindowModal);
    setFixedSize(kClientWidth, kClientHeight);
    auto* lay = new QHBoxLayout(this);
    lay->setContentsMargins(8, 8, 8, 8);
    m_bar = new QProgressBar;
    m_bar->setObjectName("Bar1");
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    m_cancelButton = new QPushButton("Cancel");
    m_cancelButton->setObjectName("btnCancel");
    m_cancelButton->setAutoDefault(false);
    connect(m_cancelButton, &QPushButton::clicked, this, &TwndProgress::requestCancel);
    lay->addWidget(m_bar, 1);
    lay->addWidget(m_cancelButton);
}

int TwndProgress::barValue() const { return m_bar->value(); }

void TwndProgress::setBar(int value)
{
    if (m_bar->value() == value)
        return;
    m_bar->setValue(value);
    emit barChanged(value);
}

void TwndProgress::requestCancel()
{
    if (!running())
        return;
    m_cancel = true;
    m_cancelButton->setEnabled(false);
}

void TwndProgress::reject()
{
    // Escape asks the work to stop; the window goes when the work has.
    if (running())
        requestCancel();
    else
        QDialog::reject();
}

void TwndProgress::closeEvent(QCloseEvent* event)
{
    if (running()) {
        requestCancel();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

bool TwndProgress::run(QWidget* over, const QString& caption, const QString& cancelText, const Work& work)
{
    if (running())
        return false;
    setWindowTitle(caption);
    m_cancelButton->setText(cancelText);
    m_cancelButton->setEnabled(true);
    m_cancel = false;
    m_bar->setValue(0);
    const int runId = ++m_runId;
    if (over) {
        const QRect g = over->frameGeometry();
        move(g.left() + (g.width() - frameGeometry().width()) / 2,
             g.top() + (g.height() - frameGeometry().height()) / 2);
    }

    QEventLoop loop;
    m_loop = &loop;
    show();

    // Progress and the end of the work reach this thread as queued calls; a
    // value that arrives after the run (or from an earlier one) is dropped.
    // The window outlives the worker (joined below), and a call queued to
    // it is dropped should it go.
    const Progress progress = [this, runId](int value) {
        QMetaObject::invokeMethod(
            this,
            [this, runId, value] {
                if (m_runId == runId && running())
                    setBar(value);
            },
            Qt::QueuedConnection);
    };
    bool failed = false;
    std::atomic<bool> finished{false};
    const auto body = [&] {
        try {
            work(m_cancel, progress);
        } catch (const std::exception&) {
            failed = true;  // out of memory, most likely: reported as not done
        }
        finished = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    };
    std::thread worker;
    try {
        worker = std::thread(body);
    } catch (const std::system_error&) {
        body();  // no thread to be had: the work runs here, the window frozen
    }
    if (!finished)
        loop.exec();
    // The loop also ends when the program quits; the work must stop before
    // the objects it uses go.
    if (!finished)
        m_cancel = true;
    if (worker.joinable())
        worker.join();
    // Progress posted before the end is shown before the window goes.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    m_loop = nullptr;
    hide();
    m_failed = failed;
    return !failed && !m_cancel;
}

} // namespace app
