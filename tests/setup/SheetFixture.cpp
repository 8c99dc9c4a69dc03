#include "SheetFixture.h"

#include <QApplication>
#include <QGroupBox>
#include <fstream>

namespace tavi::test {

std::ostream& operator<<(std::ostream& out, const IniEntry& entry) {
    return out << "[" << entry.section << "] " << entry.key << "=" << entry.value;
}

std::vector<IniEntry> readEntries(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<IniEntry> found;
    std::string section;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("[") && line.ends_with("]")) {
            section = line.substr(1, line.size() - 2);
        } else if (const std::size_t equals = line.find('=');
                   equals != std::string::npos && !line.starts_with(";")) {
            found.push_back({section, line.substr(0, equals), line.substr(equals + 1)});
        }
    }
    return found;
}

std::string valueOf(const std::vector<IniEntry>& entries, const std::string& section,
                    const std::string& key) {
    const auto same = [](const std::string& a, const std::string& b) {
        return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) ==
               0;
    };
    for (const IniEntry& entry : entries) {
        if (same(entry.section, section) && same(entry.key, key)) {
            return entry.value;
        }
    }
    return "(missing)";
}

SheetTest::SheetTest() : iniPath(folder.path() / "panel" / "tavi.ini") {
    std::filesystem::create_directories(iniPath.parent_path());
}

SheetTest::~SheetTest() = default;

void SheetTest::writeIni(const std::string& text) const {
    folder.write("panel/tavi.ini", text);
}

setup::CTaviSheet& SheetTest::openSheet() {
    auto fakeJoysticks = std::make_unique<FakeJoysticks>();
    auto recordingSound = std::make_unique<RecordingSound>();
    joysticks = fakeJoysticks.get();
    sound = recordingSound.get();
    sheet = std::make_unique<setup::CTaviSheet>(iniPath, std::move(recordingSound),
                                                std::move(fakeJoysticks));
    sheet->show();
    return *sheet;
}

setup::SettingsPage& SheetTest::openPage(const QString& caption) {
    for (setup::SettingsPage* page : sheet->pages()) {
        if (page->caption() == caption) {
            sheet->tabs().setCurrentWidget(page);
            EXPECT_TRUE(page->wasShown());
            return *page;
        }
    }
    throw std::runtime_error("no page " + caption.toStdString());
}

void SheetTest::openEveryPage() {
    for (setup::SettingsPage* page : sheet->pages()) {
        openPage(page->caption());
    }
}

void SheetTest::pressOk() {
    click(*sheet->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok));
}

void SheetTest::pressCancel() {
    click(*sheet->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel));
}

void SheetTest::choose(const QString& group, const std::function<void(setup::CJoyDlg&)>& action) {
    QWidget& page = *sheet->tabs().currentWidget();
    QTimer::singleShot(0, &page, [&page, &action] {
        auto* dialog = page.findChild<setup::CJoyDlg*>();
        ASSERT_NE(dialog, nullptr);
        action(*dialog);
        if (dialog->isVisible()) {
            dialog->reject();
        }
    });
    click(buttonInGroup(page, group, "Choose"));
}

QAbstractButton& buttonNamed(QWidget& parent, const QString& text) {
    for (QAbstractButton* button : parent.findChildren<QAbstractButton*>()) {
        if (button->text() == text) {
            return *button;
        }
    }
    throw std::runtime_error("no button " + text.toStdString());
}

namespace {

QRect groupArea(QWidget& page, const QString& group) {
    for (QGroupBox* box : page.findChildren<QGroupBox*>()) {
        if (box->title() == group) {
            return box->geometry();
        }
    }
    throw std::runtime_error("no group " + group.toStdString());
}

} // namespace

QLabel& labelInGroup(QWidget& page, const QString& group) {
    const QRect area = groupArea(page, group);
    for (QLabel* label : page.findChildren<QLabel*>()) {
        if (area.contains(label->geometry().center())) {
            return *label;
        }
    }
    throw std::runtime_error("no text in " + group.toStdString());
}

QAbstractButton& buttonInGroup(QWidget& page, const QString& group, const QString& text) {
    const QRect area = groupArea(page, group);
    for (QAbstractButton* button : page.findChildren<QAbstractButton*>()) {
        if (button->text() == text && area.contains(button->geometry().center())) {
            return *button;
        }
    }
    throw std::runtime_error("no button " + text.toStdString() + " in " + group.toStdString());
}

std::vector<QSlider*> slidersOf(QWidget& page) {
    const QList<QSlider*> found = page.findChildren<QSlider*>();
    return {found.begin(), found.end()};
}

void click(QAbstractButton& button) {
    ASSERT_TRUE(button.isVisible()) << button.text().toStdString();
    // Near the left edge: a check box takes clicks on its box and text only.
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(6, button.height() / 2));
}

} // namespace tavi::test
