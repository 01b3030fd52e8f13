#include "app/COlvantaDlg.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <QTimer>
#include <array>
#include <new>

#include "app/PlaceComboBox.h"
#include "app/settings/Settings.h"
#include "controls/CAboutDlg.h"
#include "controls/DialogUnits.h"
#include "controls/Mnemonic.h"
#include "controls/StaticText.h"
#include "controls/TimeEntry.h"
#include "olvanta/Config.h"
#include "places/PlaceListModel.h"
#include "platform/FrameworkError.h"
#include "res/AppIcon.h"
#include "timecalc/ResultTexts.h"
#include "timecalc/UiStringTable.h"
#include "timecalc/WallClock.h"

namespace {

constexpr const char* kTemplateCaption = "Olvanta";
constexpr const char* kCaption = "Olvanta v.1.1";
constexpr const char* kAboutMenuText = "&About Olvanta...";
constexpr const char* kTimeFormat = "HH:mm";
constexpr const char* kSeeMoreText = "See more features at:";
constexpr int kWidthDu = 396;
constexpr int kHeightDu = 129;

// Where each control stands in the layout, in dialog units.
struct Placement {
    int id;
    int x, y, width, height;
};

constexpr std::array kLayout{
    Placement{COlvantaDlg::kIdBaseLabel, 7, 18, 186, 8},
    Placement{COlvantaDlg::kIdBaseList, 7, 28, 187, 102},
    Placement{COlvantaDlg::kIdRemoteList, 202, 28, 187, 102},
    Placement{COlvantaDlg::kIdRemoteLabel, 201, 18, 188, 8},
    Placement{COlvantaDlg::kIdTimePicker, 7, 47, 100, 15},
    Placement{COlvantaDlg::kIdResult, 203, 47, 186, 57},
    Placement{COlvantaDlg::kIdNow, 7, 67, 31, 14},
    Placement{COlvantaDlg::kIdMidnight, 41, 67, 31, 14},
    Placement{COlvantaDlg::kIdNoon, 76, 67, 31, 14},
    Placement{COlvantaDlg::kIdTopLeftEdit, 7, 7, 75, 12},
    Placement{COlvantaDlg::kIdTopRightEdit, 324, 7, 65, 12},
    Placement{COlvantaDlg::kIdSeeMore, 111, 111, 72, 8},
    Placement{COlvantaDlg::kIdLink, 186, 111, 97, 8},
};

QRect LayoutOf(int id) {
    for (const Placement& placement : kLayout) {
        if (placement.id == id) {
            return QRect(placement.x, placement.y, placement.width, placement.height);
        }
    }
    return {};
}

// Places `widget` as the layout says and names it after its identifier. A
// drop-down list's layout height includes its open list; its closed height is
// the widget's own.
template <typename Widget>
Widget* Place(Widget* widget, int id, const DialogUnits& units) {
    const QRect layout = LayoutOf(id);
    QRect rect = units.ToPixels(layout.x(), layout.y(), layout.width(), layout.height());
    if (qobject_cast<QComboBox*>(widget) != nullptr) {
        rect.setHeight(widget->sizeHint().height());
    }
    widget->setGeometry(rect);
    widget->setObjectName(QString::number(id));
    return widget;
}

// What assistive technology announces for each control. The lists are named
// after their labels without the offsets that the labels go on to show.
struct AccessibleText {
    int id;
    const char* name;
    const char* description;
};

constexpr std::array kAccessibleTexts{
    AccessibleText{COlvantaDlg::kIdBaseList, "Base location", "The place whose time is entered"},
    AccessibleText{COlvantaDlg::kIdRemoteList, "Remote location",
                   "The place the time is converted to"},
    AccessibleText{COlvantaDlg::kIdTimePicker, "Time at the base location", "Hours and minutes"},
    AccessibleText{COlvantaDlg::kIdResult, "Result",
                   "Time and date at the remote location, and the time difference"},
    AccessibleText{COlvantaDlg::kIdNow, "Now", "Sets the time to now"},
    AccessibleText{COlvantaDlg::kIdMidnight, "Midnight", "Sets the time of day to 00:00"},
    AccessibleText{COlvantaDlg::kIdNoon, "Noon", "Sets the time of day to 12:00"},
    AccessibleText{COlvantaDlg::kIdTopLeftEdit, "Empty field, left", "Always empty"},
    AccessibleText{COlvantaDlg::kIdTopRightEdit, "Empty field, right", "Always empty"},
    AccessibleText{COlvantaDlg::kIdLink, "Olvanta web site", "Opens the web site in a browser"},
};

// A label keeps its mnemonic whenever its text is rewritten; what it shows
// is the text as given.
void SetLabelText(QLabel& label, const QString& text) {
    label.setText(WithMnemonic(text));
}

QLabel* PlaceStatic(QWidget* parent, const char* text, int id, const DialogUnits& units) {
    QLabel* label = AddStaticText(parent, units, QString::fromUtf8(text), LayoutOf(id));
    label->setObjectName(QString::number(id));
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* text) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);  // owned by the window
    // The window has no default button: Return closes it instead.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

void ShowFailure(platform::MessageSink& messages, SettingsOutcome outcome) {
    if (const std::optional<std::string> message = SettingsMessage(outcome)) {
        messages.ShowMessage(platform::MessageIcon::Stop, *message);
    }
}

QLineEdit* MakeTopEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);  // owned by the window
    edit->setReadOnly(true);
    return edit;
}

}  // namespace

COlvantaDlg::COlvantaDlg(const DialogEnvironment& environment) : m_environment(environment) {
    BuildTemplate();
    m_loadOutcome = LoadPlaces();
    if (!CatalogueLoaded()) {
        const UiString message = m_loadOutcome == LoadOutcome::ZoneFileUnreadable
                                     ? UiString::TimezonesDataError
                                     : UiString::LocationsDataError;
        m_environment.messages.ShowMessage(platform::MessageIcon::Stop, UiText(message));
    }
}

// The data files and the sorted list made from them are one load: memory
// running out on either ends the program with the data files' message.
LoadOutcome COlvantaDlg::LoadPlaces() {
    const LoadOutcome outcome =
        LoadCatalogue(m_zones, CatalogueFiles::InDirectory(m_environment.dataDirectory));
    if (outcome != LoadOutcome::Loaded) {
        return outcome;
    }
    try {
        m_places = PlaceList::FromCatalogue(m_zones);
    } catch (const std::bad_alloc&) {
        m_zones.ClearCatalogue();
        return LoadOutcome::LocationsFileUnreadable;
    }
    return LoadOutcome::Loaded;
}

COlvantaDlg::~COlvantaDlg() {
    // The lists show the model, which reads the place list, which points into
    // the catalogue: they go in that order, before the members they use.
    delete m_cbBase;
    delete m_cbRemote;
    m_placeModel.reset();
    m_zones.ClearCatalogue();
}

void COlvantaDlg::BuildTemplate() {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QString::fromUtf8(kTemplateCaption));
    const DialogUnits units(font());
    setFixedSize(units.ToPixels(kWidthDu, kHeightDu));

    // Children in layout order, which is the tab order.
    m_baseLabel = PlaceStatic(this, kBaseLabelInitialText, kIdBaseLabel, units);
    m_cbBase = Place(new PlaceComboBox(this), kIdBaseList, units);
    m_cbRemote = Place(new PlaceComboBox(this), kIdRemoteList, units);
    m_remoteLabel = PlaceStatic(this, kRemoteLabelInitialText, kIdRemoteLabel, units);
    m_timePicker = Place(new TimeEntry(this), kIdTimePicker, units);
    m_editResult = Place(new QPlainTextEdit(this), kIdResult, units);
    m_editResult->setReadOnly(true);
    m_editResult->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_btnNow = Place(MakeButton(this, "Now"), kIdNow, units);
    m_btnMidnight = Place(MakeButton(this, "00:00"), kIdMidnight, units);
    m_btnNoon = Place(MakeButton(this, "12:00"), kIdNoon, units);
    QLineEdit* topLeft = Place(MakeTopEdit(this), kIdTopLeftEdit, units);
    QLineEdit* topRight = Place(MakeTopEdit(this), kIdTopRightEdit, units);
    PlaceStatic(this, kSeeMoreText, kIdSeeMore, units);
    m_link.setParent(this);
    m_link.setText(QStringLiteral(OLVANTA_WEB_SITE));
    Place(&m_link, kIdLink, units);

    const std::array<QWidget*, 9> tabOrder{m_cbBase,     m_cbRemote, m_timePicker,
                                           m_editResult, m_btnNow,   m_btnMidnight,
                                           m_btnNoon,    topLeft,    topRight};
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
    NameControls();
    m_link.PreSubclassWindow();
    if (m_environment.urlOpener != nullptr) {
        m_link.SetOpener(*m_environment.urlOpener);
    }
    m_link.SetMessageSink(m_environment.messages);
}

void COlvantaDlg::NameControls() {
    // Alt with a label's first letter moves to its list.
    m_baseLabel->setBuddy(m_cbBase);
    m_remoteLabel->setBuddy(m_cbRemote);
    SetLabelText(*m_baseLabel, m_baseLabel->text());
    SetLabelText(*m_remoteLabel, m_remoteLabel->text());
    for (const AccessibleText& text : kAccessibleTexts) {
        if (auto* control = findChild<QWidget*>(QString::number(text.id))) {
            control->setAccessibleName(QString::fromUtf8(text.name));
            control->setAccessibleDescription(QString::fromUtf8(text.description));
        }
    }
}

template <typename Handler>
void COlvantaDlg::RunEvent(Handler&& handler) {
    // The error box takes the focus from a list, which reports that as being
    // left, and a closing window does the same: those are echoes of the event
    // that runs or ran last, not events of the user's, so they run nothing.
    if (m_inEvent || m_closed) {
        return;
    }
    const QScopedValueRollback inEvent(m_inEvent, true);
    try {
        handler();
    } catch (const platform::FrameworkError& error) {
        m_environment.messages.ShowMessage(platform::MessageIcon::Stop, error.what());
    }
}

void COlvantaDlg::ConnectMessageMap() {
    connect(m_cbBase, &PlaceComboBox::Chosen, this,
            [this] { RunEvent([this] { OnBaseLocationChanged(); }); });
    connect(m_cbRemote, &PlaceComboBox::Chosen, this,
            [this] { RunEvent([this] { OnRemoteLocationChanged(); }); });
    connect(m_timePicker, &QTimeEdit::timeChanged, this,
            [this] { RunEvent([this] { OnTimeChanged(); }); });
    connect(m_btnNow, &QPushButton::clicked, this, [this] { RunEvent([this] { OnNow(); }); });
    connect(m_btnMidnight, &QPushButton::clicked, this,
            [this] { RunEvent([this] { OnMidnight(); }); });
    connect(m_btnNoon, &QPushButton::clicked, this, [this] { RunEvent([this] { OnNoon(); }); });
    connect(m_cbBase, &PlaceComboBox::Left, this,
            [this] { RunEvent([this] { OnBaseLocationChanged(); }); });
    connect(m_cbRemote, &PlaceComboBox::Left, this,
            [this] { RunEvent([this] { OnRemoteLocationChanged(); }); });
}

int COlvantaDlg::DoModal() {
    OnInitDialog();
    return exec();
}

bool COlvantaDlg::OnInitDialog() {
    // A window that starts with every size of its icon waits for all eight
    // renderings; it starts with the title bar's alone, and the others (task
    // bar, window switcher) follow once the event loop runs, which shows the
    // window first.
    setWindowIcon(OlvantaTitleBarIcon());
    QTimer::singleShot(0, this, [this] { setWindowIcon(OlvantaIcon()); });
    setWindowTitle(QString::fromUtf8(kCaption));
    m_timePicker->setDisplayFormat(QString::fromUtf8(kTimeFormat));
    m_link.SetTargetUrl(OLVANTA_WEB_SITE);
    m_link.SetUnderlineMode(CHyperLink::kUnderlineAlways);
    m_baseIndex = 0;
    m_remoteIndex = 0;

    // Both lists show the same entries, "UTC" among them, so they share one
    // list and one model.
    m_placeModel = std::make_unique<PlaceListModel>(m_places);
    m_cbBase->SetPlaces(*m_placeModel, m_environment.clock);
    m_cbRemote->SetPlaces(*m_placeModel, m_environment.clock);

    ShowFailure(m_environment.messages, LoadSettings());
    m_cbBase->Select(g_baseLocation);
    m_baseIndex = g_baseLocation;
    m_cbRemote->Select(g_remoteLocation);
    m_remoteIndex = g_remoteLocation;

    RunEvent([this] {
        m_baseTime = CurrentWallClockAt(BaseZone(), m_environment.clock);
        ShowTimeInPicker(m_baseTime);
        UpdateResult();
    });
    ConnectMessageMap();
    m_cbBase->setFocus(Qt::OtherFocusReason);
    return true;
}

void COlvantaDlg::OnSysCommand(unsigned command) {
    if ((command & 0xFFF0) == kAboutCommand) {
        OpenAboutBox();
    }
}

void COlvantaDlg::OpenAboutBox() {
    CAboutDlg about(this);
    if (m_environment.urlOpener != nullptr) {
        about.SiteLink().SetOpener(*m_environment.urlOpener);
        about.LicenseLink().SetOpener(*m_environment.urlOpener);
    }
    about.SiteLink().SetMessageSink(m_environment.messages);
    about.LicenseLink().SetMessageSink(m_environment.messages);
    about.exec();
}

void COlvantaDlg::contextMenuEvent(QContextMenuEvent* event) {
    // The window menu of the desktop cannot be extended, so the window's own
    // context menu carries its entries.
    QMenu menu(this);
    menu.addAction(tr("&Close"), this, &QDialog::reject);
    menu.addSeparator();
    menu.addAction(QString::fromUtf8(kAboutMenuText), this,
                   [this] { OnSysCommand(kAboutCommand); });
    menu.exec(event->globalPos());
}

void COlvantaDlg::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        switch (event->key()) {
            case Qt::Key_F1: OnSysCommand(kAboutCommand); return;
            case Qt::Key_Return:
            case Qt::Key_Enter: OnReturn(); return;
            default: break;
        }
    }
    QDialog::keyPressEvent(event);
}

void COlvantaDlg::OnReturn() {
    // A focused button takes Return as its click; the result area keeps
    // Return for itself; anywhere else Return ends the window like OK, since
    // no button is the default.
    QWidget* focus = focusWidget();
    if (auto* button = qobject_cast<QPushButton*>(focus)) {
        button->click();
    } else if (focus != m_editResult) {
        accept();
    }
}

void COlvantaDlg::done(int result) {
    OnDestroy();
    m_closed = true;
    QDialog::done(result);
}

void COlvantaDlg::OnDestroy() {
    if (m_settingsSaved) {
        return;
    }
    m_settingsSaved = true;
    // A list left by closing the window settles its typed text first, so a
    // place typed and found is the place remembered.
    if (m_cbBase->hasFocus()) {
        RunEvent([this] { OnBaseLocationChanged(); });
    } else if (m_cbRemote->hasFocus()) {
        RunEvent([this] { OnRemoteLocationChanged(); });
    }
    ShowFailure(m_environment.messages, SaveSettings());
}

void COlvantaDlg::OnBaseLocationChanged() {
    OnPlaceChanged(*m_cbBase, g_baseLocation);
}

void COlvantaDlg::OnRemoteLocationChanged() {
    OnPlaceChanged(*m_cbRemote, g_remoteLocation);
}

void COlvantaDlg::OnPlaceChanged(PlaceComboBox& list, std::int32_t& remembered) {
    const int selection = list.Selection();
    if (selection != -1) {
        remembered = selection;
    } else if (const QString typed = list.TypedText(); typed.isEmpty()) {
        list.Select(remembered);
    } else if (const int found = m_places.FindTypedPlace(typed); found >= 0) {
        list.Select(found);
        remembered = list.Selection();
    } else {
        list.Select(remembered);
    }
    UpdateResult();
}

void COlvantaDlg::OnTimeChanged() {
    // Today is the date at the base place, which may be another than the
    // computer's.
    const SYSTEMTIME today = ToCalendarTime(CurrentWallClockAt(BaseZone(), m_environment.clock));
    const QTime entered = m_timePicker->time();
    if (entered.isValid()) {
        m_baseTime = TimeValueFromFields(today.wYear, today.wMonth, today.wDay, entered.hour(),
                                         entered.minute());
    }
    UpdateResult();
}

void COlvantaDlg::OnNow() {
    m_baseTime = CurrentWallClockAt(BaseZone(), m_environment.clock);
    ShowTimeInPicker(m_baseTime);
    UpdateResult();
}

void COlvantaDlg::OnMidnight() {
    SetTimeOfDay(0);
}

void COlvantaDlg::OnNoon() {
    SetTimeOfDay(12);
}

// Keeps the date of the base time and replaces its time of day.
void COlvantaDlg::SetTimeOfDay(int hour) {
    const SYSTEMTIME date = ToCalendarTime(m_baseTime);
    m_baseTime = TimeValueFromFields(date.wYear, date.wMonth, date.wDay, hour, 0);
    ShowTimeInPicker(m_baseTime);
    UpdateResult();
}

void COlvantaDlg::ShowTimeInPicker(TimeValue value) {
    // Setting the time from code is no change by the user.
    const QSignalBlocker blocker(m_timePicker);
    const SYSTEMTIME time = ToCalendarTime(value);
    m_timePicker->setTime(QTime(time.wHour, time.wMinute));
}

const CTimeZone* COlvantaDlg::BaseZone() const {
    const int selection = m_cbBase->Selection();
    return selection != -1 ? m_places.Zone(selection) : nullptr;
}

void COlvantaDlg::UpdateResult() {
    m_baseIndex = m_cbBase->Selection();
    m_remoteIndex = m_cbRemote->Selection();
    const CTimeZone* base = m_baseIndex != -1 ? m_places.Zone(m_baseIndex) : nullptr;
    const CTimeZone* remote = m_remoteIndex != -1 ? m_places.Zone(m_remoteIndex) : nullptr;
    const SYSTEMTIME universalNow = CurrentUniversalTime(m_environment.clock);
    const ResultTexts texts = ComposeResult(base, remote, m_baseTime, universalNow);

    m_remoteTime = texts.remoteTime;
    if (texts.baseLabel) {
        SetLabelText(*m_baseLabel, QString::fromStdString(*texts.baseLabel));
    }
    if (texts.remoteLabel) {
        SetLabelText(*m_remoteLabel, QString::fromStdString(*texts.remoteLabel));
    }
    m_editResult->setPlainText(QString::fromStdString(texts.result));
}
