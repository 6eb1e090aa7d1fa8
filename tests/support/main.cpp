// The one GoogleTest main of every test program: a QApplication on the offscreen platform.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Stock Request"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
