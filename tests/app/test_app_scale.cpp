// The main window at 150 %: a position kept at 100 % still puts the whole
// window, frame included, on a 1366 x 768 screen in device pixels. The scale
// and the screen are chosen before the application starts, so this test has
// a process of its own.
#include "app_paths.h"
#include "app_test_support.h"
#include "ini_file.h"
#include "main_form.h"

#include <QApplication>
#include <QScreen>
#include <QtTest>
#include <cmath>

namespace {
constexpr int kScreenWidth = 1366;
constexpr int kScreenHeight = 768;
constexpr double kScale = 1.5;

// Device pixels of a logical coordinate, rounded as the window system gets them.
int devicePixels(int logical) { return int(std::lround(logical * kScale)); }
} // namespace

class TestAppScale : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    TMessageLog m_messages;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_messages.install();
    }

    // Left/Top as a window at 100 % keeps them right at the bottom or right
    // edge of this screen.
    void positionKeptAt100PercentFitsAt150_data()
    {
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("top");
        QTest::newRow("bottom edge") << 354 << 331;
        QTest::newRow("right edge") << 710 << 100;
        QTest::newRow("bottom right corner") << 710 << 331;
        QTest::newRow("centre") << 354 << 165;
    }
    void positionKeptAt100PercentFitsAt150()
    {
        QFETCH(int, left);
        QFETCH(int, top);
        static int n = 0;
        const QString ini = m_dir.filePath(QStringLiteral("scale-%1.ini").arg(++n));
        {
            QFile f(ini);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QStringLiteral("[MainWindow]\nState=0\nLeft=%1\nTop=%2\n").arg(left).arg(top).toUtf8());
        }
        SetIniPath(ini);
        TMainForm form;
        form.Open();
        QCOMPARE(form.devicePixelRatioF(), kScale);
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QRect frame = form.frameGeometry();
        QVERIFY(frame != form.geometry()); // the frame is counted
        const int right = devicePixels(frame.x()) + devicePixels(frame.width());
        const int bottom = devicePixels(frame.y()) + devicePixels(frame.height());
        QVERIFY2(frame.x() >= 0 && frame.y() >= 0 && right <= kScreenWidth && bottom <= kScreenHeight,
                 qPrintable(QStringLiteral("frame %1,%2 %3x%4 ends at %5,%6 device pixels")
                                .arg(frame.x())
                                .arg(frame.y())
                                .arg(frame.width())
                                .arg(frame.height())
                                .arg(right)
                                .arg(bottom)));
        form.close();
    }
};

int main(int argc, char *argv[])
{
    // A 1366 x 768 offscreen screen with window frames, shown at 150 %.
    QTemporaryDir config;
    const QString path = config.filePath(QStringLiteral("screen.json"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        f.write(
            QStringLiteral("{\"windowFrameMargins\": true, \"screens\": [{\"name\": \"laptop\", \"x\": 0, \"y\": 0, "
                           "\"width\": %1, \"height\": %2, \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}")
                .arg(kScreenWidth)
                .arg(kScreenHeight)
                .toUtf8());
    }
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + path).toUtf8());
    qputenv("QT_SCALE_FACTOR", "1.5");
    QApplication app(argc, argv);
    TestAppScale test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_app_scale.moc"
