// The modal About box: the icon, the name and version, the ownership notice,
// the acknowledgements, and links to the licence and to the web site.
#pragma once

#include <QDialog>

#include "controls/CHyperLink.h"

class QPushButton;

class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    // Control identifiers; each widget's object name is its identifier.
    static constexpr int kIdOk = 1;
    static constexpr int kIdNotice = 1038;
    static constexpr int kIdSeeMore = 1039;
    static constexpr int kIdSiteLink = 1040;
    static constexpr int kIdLicenseLink = 1041;
    static constexpr int kIdFirstCredit = 1042;
    static constexpr int kIdSecondCredit = 1043;

    // The box is built and initialised at once; exec() shows it modally
    // over `parent`, whose window it disables meanwhile.
    explicit CAboutDlg(QWidget* parent = nullptr);
    ~CAboutDlg() override;

    CHyperLink& SiteLink() { return m_siteLink; }
    CHyperLink& LicenseLink() { return m_licenseLink; }

private:
    void BuildTemplate();
    void DoDataExchange();
    bool OnInitDialog();

    CHyperLink m_siteLink;
    CHyperLink m_licenseLink;
    QPushButton* m_okButton = nullptr;  // owned by the dialog as its child
};
