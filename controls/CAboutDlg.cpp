#include "controls/CAboutDlg.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "controls/DialogUnits.h"
#include "controls/StaticText.h"
#include "olvanta/Config.h"
#include "res/AppIcon.h"

namespace {

// The box's layout in dialog units, and its texts.
constexpr int kWidthDu = 235;
constexpr int kHeightDu = 113;
constexpr int kIconSizeDu = 20;

const char* const kTemplateCaption = "About Olvanta";
const char* const kCaption = "Olvanta v.1.1";
const char* const kVersionLine = "Olvanta Version 1.0";
const char* const kOwnershipNotice = "Copyright (C) 2026 Quandelle. MIT License.";
// Each data source with its licence, short enough for the fixed lines; the
// full attribution is in docs/copyright and the README.
const char* const kFirstCredit = "Data: IANA tz (public domain), CLDR (Unicode)";
const char* const kSecondCredit = "Places: GeoNames CC BY 3.0, SimpleMaps CC BY 4.0";
const char* const kSeeMore = "See more features at:";
const char* const kLicenseLinkText = "Read End User License Agreement";

QString IdName(int id) {
    return QString::number(id);
}

QLabel* AddStatic(QWidget* parent, const DialogUnits& units, const char* text, const QRect& du) {
    return AddStaticText(parent, units, QString::fromUtf8(text), du);
}

void PlaceLink(CHyperLink& link, QWidget* parent, const DialogUnits& units, const char* text,
               int id, const QRect& du) {
    link.setParent(parent);
    link.setObjectName(IdName(id));
    link.setText(QString::fromUtf8(text));
    link.setGeometry(units.ToPixels(du.x(), du.y(), du.width(), du.height()));
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    BuildTemplate();
    DoDataExchange();
    OnInitDialog();
}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::BuildTemplate() {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QString::fromUtf8(kTemplateCaption));
    setModal(true);
    const DialogUnits units(font());
    setFixedSize(units.ToPixels(kWidthDu, kHeightDu));
    const QIcon icon = OlvantaIcon();
    setWindowIcon(icon);

    // Children in layout order, which is also the order they are painted in.
    QLabel* iconLabel = AddStatic(this, units, "", QRect(11, 17, kIconSizeDu, kIconSizeDu));
    iconLabel->setObjectName(QStringLiteral("icon"));
    iconLabel->setAccessibleName(QStringLiteral("Olvanta icon"));
    const QSize iconSize = iconLabel->size();
    const int side = std::min(iconSize.width(), iconSize.height());
    iconLabel->setPixmap(icon.pixmap(side, side));

    AddStatic(this, units, kVersionLine, QRect(40, 11, 130, 8))
        ->setObjectName(QStringLiteral("version"));
    AddStatic(this, units, kOwnershipNotice, QRect(39, 98, 169, 8))
        ->setObjectName(IdName(kIdNotice));

    m_okButton = new QPushButton(QStringLiteral("OK"), this);  // owned by the dialog
    m_okButton->setObjectName(IdName(kIdOk));
    m_okButton->setGeometry(units.ToPixels(178, 7, 50, 16));
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    AddStatic(this, units, kSeeMore, QRect(40, 72, 72, 8))->setObjectName(IdName(kIdSeeMore));
    PlaceLink(m_siteLink, this, units, OLVANTA_WEB_SITE, kIdSiteLink, QRect(115, 72, 94, 8));
    // Its text is an address; a screen reader should say what it leads to.
    m_siteLink.setAccessibleName(QStringLiteral("Olvanta web site"));
    PlaceLink(m_licenseLink, this, units, kLicenseLinkText, kIdLicenseLink, QRect(40, 22, 119, 8));
    AddStatic(this, units, kFirstCredit, QRect(40, 34, 169, 8))
        ->setObjectName(IdName(kIdFirstCredit));
    AddStatic(this, units, kSecondCredit, QRect(40, 46, 188, 8))
        ->setObjectName(IdName(kIdSecondCredit));
}

void CAboutDlg::DoDataExchange() {
    m_siteLink.PreSubclassWindow();
    m_licenseLink.PreSubclassWindow();
}

bool CAboutDlg::OnInitDialog() {
    setWindowTitle(QString::fromUtf8(kCaption));
    m_siteLink.SetTargetUrl(OLVANTA_WEB_SITE);
    m_siteLink.SetUnderlineMode(CHyperLink::kUnderlineAlways);
    m_licenseLink.SetTargetUrl(OLVANTA_LICENSE_URL);
    m_licenseLink.SetUnderlineMode(CHyperLink::kUnderlineAlways);
    // The OK button is the only tab stop, so it holds the focus when the box
    // opens and Enter closes the box.
    m_okButton->setFocus();
    return true;
}
