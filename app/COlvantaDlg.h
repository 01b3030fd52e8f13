// The main window: two place lists, the time at the base place, the three
// quick buttons and the result, recomputed on every change.
#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>

#include "app/DialogEnvironment.h"
#include "catalogue/Catalogue.h"
#include "catalogue/LoadCatalogue.h"
#include "controls/CHyperLink.h"
#include "places/PlaceList.h"
#include "timecalc/TimeValue.h"

class PlaceComboBox;
class PlaceListModel;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimeEdit;

class COlvantaDlg : public QDialog {
    Q_OBJECT

public:
    // Control identifiers; each widget's object name is its identifier.
    static constexpr int kIdBaseLabel = 1000;
    static constexpr int kIdBaseList = 1001;
    static constexpr int kIdRemoteList = 1002;
    static constexpr int kIdRemoteLabel = 1003;
    static constexpr int kIdTimePicker = 1004;
    static constexpr int kIdResult = 1005;
    static constexpr int kIdNow = 1006;
    static constexpr int kIdMidnight = 1007;
    static constexpr int kIdNoon = 1008;
    static constexpr int kIdTopLeftEdit = 1009;
    static constexpr int kIdTopRightEdit = 1010;
    static constexpr int kIdSeeMore = 1032;
    static constexpr int kIdLink = 1033;

    // The window menu's command that opens the About box.
    static constexpr unsigned kAboutCommand = 16;

    // Builds the window's controls and loads the catalogue. When a data file
    // cannot be read, its message has been shown and CatalogueLoaded() is
    // false: the window must then not be shown.
    explicit COlvantaDlg(const DialogEnvironment& environment);
    ~COlvantaDlg() override;

    bool CatalogueLoaded() const { return m_loadOutcome == LoadOutcome::Loaded; }

    // Initialises the window and runs it modally until it is closed.
    int DoModal();

    // Fills the lists, restores the remembered places, sets the time to now at
    // the base place and shows the first result. DoModal() runs it; tests
    // call it directly.
    bool OnInitDialog();

    // The window menu's commands: kAboutCommand opens the About box.
    void OnSysCommand(unsigned command);

    // What the window holds, for tests.
    TimeValue BaseTime() const { return m_baseTime; }
    int BaseIndex() const { return m_baseIndex; }
    int RemoteIndex() const { return m_remoteIndex; }
    const PlaceList& Places() const { return m_places; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void done(int result) override;

private:
    void BuildTemplate();
    LoadOutcome LoadPlaces();
    void NameControls();
    void ConnectMessageMap();
    void OnDestroy();
    void OnReturn();

    void OnBaseLocationChanged();
    void OnRemoteLocationChanged();
    void OnPlaceChanged(PlaceComboBox& list, std::int32_t& remembered);
    void OnTimeChanged();
    void OnNow();
    void OnMidnight();
    void OnNoon();
    void SetTimeOfDay(int hour);
    // The base list's zone; null for "UTC" or no selection.
    const CTimeZone* BaseZone() const;
    void UpdateResult();

    void ShowTimeInPicker(TimeValue value);
    void OpenAboutBox();
    // Runs an event's handler; a calendar error abandons the event and is
    // shown in the standard error box, the event's only one.
    template <typename Handler>
    void RunEvent(Handler&& handler);

    DialogEnvironment m_environment;
    int m_baseIndex = 0;
    int m_remoteIndex = 0;
    CHyperLink m_link;
    TimeValue m_baseTime = 0;
    TimeValue m_remoteTime = 0;
    Catalogue m_zones;
    LoadOutcome m_loadOutcome = LoadOutcome::Loaded;
    PlaceList m_places;
    std::unique_ptr<PlaceListModel> m_placeModel;
    bool m_settingsSaved = false;
    bool m_inEvent = false;  // an event's handler or its error box is running
    bool m_closed = false;   // the window has been closed: no further events

    // The controls are children of the window, which owns and frees them.
    QLabel* m_baseLabel = nullptr;
    QLabel* m_remoteLabel = nullptr;
    PlaceComboBox* m_cbBase = nullptr;
    PlaceComboBox* m_cbRemote = nullptr;
    QTimeEdit* m_timePicker = nullptr;
    QPushButton* m_btnNow = nullptr;
    QPushButton* m_btnMidnight = nullptr;
    QPushButton* m_btnNoon = nullptr;
    QPlainTextEdit* m_editResult = nullptr;
};
