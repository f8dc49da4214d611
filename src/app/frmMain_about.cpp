// The link label that opens the About window.

#include "frmMain.h"

#include "click_filter.h"
#include "frmSplash.h"
#include "maker_info.h"
#include "ui_frmMain.h"

void frmMain::connectAboutLink()
{
    ui->labURL->setText(makerWebAddress());
    ui->labURL->setFocusPolicy(Qt::TabFocus); // Space or Enter opens it, too
    onClick(ui->labURL, [this] { labURL_Click(); });
}

void frmMain::labURL_Click()
{
    frmSplash::showAbout(*m_env.dialogs);
}
