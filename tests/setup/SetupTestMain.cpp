#include <QApplication>
#include <clocale>
#include <gtest/gtest.h>

namespace {

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform warns about every fixed-size window; the rest goes to Qt's handler.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message != QStringLiteral("This plugin does not support propagateSizeHints()")) {
        defaultHandler(type, context, message);
    }
}

} // namespace

int main(int argc, char** argv) {
    // The pages are shown on Qt's offscreen platform unless the caller chose another.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    defaultHandler = qInstallMessageHandler(quietHandler);
    QApplication application(argc, argv);
    // Settings must not depend on the locale; a comma locale catches conversions that do.
    std::setlocale(LC_ALL, "");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
