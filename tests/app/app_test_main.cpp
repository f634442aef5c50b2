// The Qt tests need one QApplication for the whole run. Test discovery runs
// the program without the test environment, so the platform is set here too.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        // Without it Qt warns on standard error; a private folder will do.
        const QByteArray dir = QByteArray("/tmp/velmora-test-runtime-") + QByteArray::number(getuid());
        mkdir(dir.constData(), 0700);
        qputenv("XDG_RUNTIME_DIR", dir);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Velmora");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
