#include "setup/CTaviSheet.h"

#include "platform/profile/Profile.h"
#include "setup/CPage1.h"
#include "setup/CPage2.h"
#include "setup/CPage3.h"
#include "setup/CPage4.h"
#include "setup/CPage5.h"
#include "setup/CPage6.h"
#include "setup/CPage7.h"
#include "setup/CPage8.h"
#include "setup/CPage9.h"
#include "setup/OptionPictures.h"

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tavi::setup {

namespace {

// Every value is read into a buffer of this size, so values keep at most 63 characters.
constexpr std::size_t kSettingBuffer = 64;

} // namespace

CTaviSheet::CTaviSheet(std::filesystem::path settingsPath, std::unique_ptr<SoundPlayer> sound,
                       std::unique_ptr<JoystickSource> joysticks, QWidget* parent)
    : QDialog(parent), path(std::move(settingsPath)), soundPlayer(std::move(sound)),
      joystickSource(std::move(joysticks)), tabWidget(new QTabWidget(this)) {
    setWindowTitle(kCaption);
    setWindowIcon(programIcon());
    // Every tab in view: the sheet grows to the tabs' width.
    tabWidget->tabBar()->setUsesScrollButtons(false);

    addPage(new CPage9(*this));
    addPage(new CPage1(*this));
    addPage(new CPage2(*this));
    addPage(new CPage3(*this));
    addPage(new CPage4(*this));
    addPage(new CPage8(*this));
    addPage(new CPage5(*this));
    addPage(new CPage6(*this));
    addPage(new CPage7(*this));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CTaviSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CTaviSheet::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabWidget);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    soundPlayer->setVolume(readInt("Sound", "volume", 0));
}

CTaviSheet::~CTaviSheet() = default;

void CTaviSheet::addPage(SettingsPage* page) {
    pageList.push_back(page);
    tabWidget->addTab(page, page->caption());
}

int32_t CTaviSheet::readInt(const char* section, const char* key, int32_t defaultValue) const {
    return platform::profile::parseInt(
        readString(section, key, std::to_string(defaultValue).c_str()));
}

bool CTaviSheet::readBool(const char* section, const char* key, bool defaultValue) const {
    return readInt(section, key, defaultValue ? 1 : 0) != 0;
}

std::string CTaviSheet::readString(const char* section, const char* key,
                                   const char* defaultValue) const {
    return platform::profile::read(path, section, key, defaultValue, kSettingBuffer);
}

void CTaviSheet::writeString(const char* section, const char* key, const std::string& value) {
    pendingWrites.push_back({section, key, value});
}

void CTaviSheet::writeInt(const char* section, const char* key, int32_t value) {
    writeString(section, key, std::to_string(value));
}

void CTaviSheet::writeBool(const char* section, const char* key, bool value) {
    writeInt(section, key, value ? 1 : 0);
}

void CTaviSheet::accept() {
    pendingWrites.clear();
    for (SettingsPage* page : pageList) {
        page->writeIfShown();
    }
    if (!pendingWrites.empty() && !platform::profile::write(path, pendingWrites)) {
        reportWriteFailure();
        return;
    }
    QDialog::accept();
}

// The sheet stays open, so the user can make the folder writable and press OK again.
void CTaviSheet::reportWriteFailure() {
    auto* message = new QMessageBox(
        QMessageBox::Warning, kCaption,
        QStringLiteral("The settings could not be saved to\n%1\n\nCheck that this folder exists "
                       "and that you may write to it.")
            .arg(QString::fromStdString(path.string())),
        QMessageBox::Ok, this);
    message->setAttribute(Qt::WA_DeleteOnClose);
    message->open();
}

} // namespace tavi::setup
