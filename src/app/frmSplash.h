#pragma once
// The About window: logo, product name, version, platform, the maker's web
// address and name, and a warning whose click writes to the author. Any key
// that types a character, or a click on its frame, closes it.

#include <QWidget>

#include <memory>

class Dialogs;
namespace Ui {
class frmSplash;
}

class frmSplash : public QWidget {
    Q_OBJECT
public:
    // Shows the one About window, loading it afresh when none is open.
    // It has no owner: it stays open when the main window closes.
    static frmSplash *showAbout(Dialogs &dialogs);

    explicit frmSplash(Dialogs &dialogs);
    ~frmSplash() override;

public slots:
    void Form_Load();
    void Frame1_Click();
    void imgLogo_Click();
    void lblCompanyProduct_Click();
    void lblWarning_Click();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Form_KeyPress: true when the key typed a character and closed the window.
    bool Form_KeyPress(const QEvent *event);
    void applyFontsColoursAndPointers();
    void centreOnScreen();

    std::unique_ptr<Ui::frmSplash> ui;
    Dialogs &m_dialogs;
};
