#include "setup/CTaviSetupApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("TaviSetup");
    return tavi::setup::CTaviSetupApp().run(application);
}
