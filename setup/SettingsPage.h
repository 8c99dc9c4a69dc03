#pragma once

#include "setup/DialogUnits.h"

#include <QString>
#include <QWidget>

namespace tavi::setup {

class CTaviSheet;

// A page of the sheet: it reads its keys the first time it is shown and writes them when the
// sheet closes with OK; a page that was never shown writes nothing.
class SettingsPage : public QWidget {
    Q_OBJECT

public:
    // The size is in dialog units.
    SettingsPage(CTaviSheet& sheet, QString caption, int width, int height);

    const QString& caption() const { return title; }
    bool wasShown() const { return keysRead; }
    // Reads the keys unless the page has read them already.
    void readOnce();
    void writeIfShown();

protected:
    void showEvent(QShowEvent* event) override;
    virtual void readKeys() = 0;
    virtual void writeKeys() = 0;

    CTaviSheet& sheet() const { return owner; }
    // Puts a control at its place in dialog units; a control whose text needs more room than
    // that gets it.
    template <class Control>
    Control* place(Control* control, int x, int y, int width, int height) {
        placeControl(control, units.rect(x, y, width, height));
        return control;
    }
    template <class Control>
    Control* place(Control* control, const DialogRect& area) {
        placeControl(control, units.rect(area));
        return control;
    }
    const DialogUnits& dialogUnits() const { return units; }

private:
    void placeControl(QWidget* control, QRect area);

    CTaviSheet& owner;
    QString title;
    DialogUnits units;
    bool keysRead = false;
};

} // namespace tavi::setup
