#include "setup/CTaviSetupApp.h"

#include "setup/CTaviSheet.h"
#include "setup/SoundManagerPlayer.h"

#include <QApplication>
#include <QCommandLineParser>

namespace tavi::setup {

namespace {

const QString kIniOption = QStringLiteral("ini");

void describeOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription("Sets the preferences of the TAVI gauge module.");
    parser.addHelpOption();
    parser.addOption(QCommandLineOption(
        kIniOption,
        "The settings file to write, when the module does not lie in the folder panel below "
        "this program's folder.",
        "PATH"));
}

} // namespace

std::filesystem::path CTaviSetupApp::settingsPath(const QStringList& arguments,
                                                  const std::filesystem::path& programFolder) {
    QCommandLineParser parser;
    describeOptions(parser);
    if (parser.parse(arguments) && parser.isSet(kIniOption)) {
        return parser.value(kIniOption).toStdString();
    }
    return programFolder / "panel" / "tavi.ini";
}

int CTaviSetupApp::run(QApplication& application) {
    QCommandLineParser parser;
    describeOptions(parser);
    parser.process(application);
    const std::filesystem::path programFolder =
        QCoreApplication::applicationDirPath().toStdString();
    CTaviSheet sheet(settingsPath(application.arguments(), programFolder),
                     std::make_unique<SoundManagerPlayer>(programFolder),
                     std::make_unique<JoystickReaderSource>());
    sheet.exec();
    return 0;
}

} // namespace tavi::setup
