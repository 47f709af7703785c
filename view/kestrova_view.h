#pragma once

// The one view of the program: the texts of the six input fields and their parsed
// values, the fixed run parameters, the layout scale, the control panel, and every
// command. Each command computes its results with the core's functions, puts them into
// the scene and repaints; the paint handler draws the static picture and then the
// scene, so a repaint for any reason shows what the commands drew.

#include "ephemeris/engine.h"
#include "model/eclipse_map.h"
#include "model/input_check.h"
#include "platform/controls.h"
#include "platform/view.h"
#include "render/map_painter.h"
#include "view/scene.h"

#include <QPointF>
#include <QString>

#include <optional>
#include <string>
#include <utility>
#include <vector>

struct EclipseCircumstances;
struct LocalCircumstances;

// Command ids of the control panel's buttons.
enum ViewCommand {
    ID_CALCULATE = 100,
    ID_TIME_PLUS = 200,
    ID_TIME_MINUS = 300,
    ID_CONTACT_TIMES = 400,
    ID_STOP = 500,
    ID_PLAY = 600,
    ID_MAP = 700,
    ID_PRINT_BUTTON = 800,
};

// Control ids of the input fields.
enum FieldId {
    IDC_DAY = 1,
    IDC_MONTH = 2,
    IDC_YEAR = 3,
    IDC_HOUR = 14,
    IDC_MINUTE = 15,
    IDC_SECOND = 16,
};

// The animation timer: one frame (one eclipse minute) of the penumbral phase per
// second unless the user chooses a faster speed.
inline constexpr int kAnimationTimerId = 1111;
inline constexpr int kAnimationPeriodMs = 1000;
// The speeds offered: eclipse minutes per second.
inline constexpr int kAnimationSpeeds[] = {1, 2, 5, 10, 30};

// The application's title, the caption of the framework's own message boxes.
inline constexpr const char* kAppTitle = "Kestrova";

class CKestrovaView : public CView {
    Q_OBJECT

public:
    explicit CKestrovaView(QWidget* parent = nullptr);
    ~CKestrovaView() override;

    void OnInitialUpdate() override;

    // Transfer between the fields and the strings, and parsing (atoi/atof rules).
    void ReadEditTexts();
    void WriteEditTexts();
    void ParseInputs();
    // Whole hours and minutes of h, both truncated after rounding h to milliseconds.
    void SplitHours(int& hours, int& minutes, double h) const;

    // Commands.
    void OnCalculate();
    void OnTimePlus();
    void OnTimeMinus();
    void OnContactTimes();
    void OnStop();
    void OnPlay();
    void OnMap();
    // A map command's computation started ahead for a date (the picture commands start
    // it before the window exists): the next map command uses it if it asks the same.
    void SetPendingMap(PendingDateMap pending) { m_pendingMap = std::move(pending); }
    void OnPrintButton();

    // The shadow snapshot at the parsed instant, in place of the last shadow.
    void RunSnapshot();
    // The contact-time run of the parsed date.
    void RunContactTimes();

    // What the commands show over the map and under it.
    const Scene& GetScene() const { return m_scene; }
    // Takes every result off the window and stops the animation (a new or opened
    // document starts from the bare map).
    void ClearScene();

    // Right-click information for a client point.
    void ShowPointInfo(int x, int y);

    // What a place sees of a solar eclipse (view/local_info.cpp): the right click's
    // third box when an eclipse has its greatest eclipse on the date in the fields, and
    // the Eclipse menu's two commands.
    void ShowLocalCircumstancesAt(double lat, double lon);
    // The text of the local circumstances panel (a left click, or Enter on the keyboard
    // cursor): what a point of the map, at height 0, sees of the solar or lunar eclipse
    // of the date in the fields, in UT and in the civil time of the point's zone; or why
    // there is nothing to show. Marks the point on the map.
    std::string LocalPanelText(double lat, double lon);
    void OnLocalCircumstances();
    void OnNextEclipseFromHere();
    // Every eclipse seen from a place over years, in a table; a double-click shows
    // that eclipse's map.
    void OnEclipsesSeenFromHere();

    // The animation's speed in eclipse minutes per second (1 by default); a running
    // animation goes on at the new speed.
    void SetAnimationSpeed(int minutesPerSecond);
    int AnimationPeriodMs() const { return m_animationPeriodMs; }
    // A red cross at the place on the map.
    void MarkPlace(double lat, double lon);

    // Design rectangle (left, top, right, bottom) scaled to the window.
    CRect ScaleRect(int left, int top, int right, int bottom) const;

    // Input texts (field ids 1, 2, 3, 14, 15, 16) and the fixed run parameters.
    std::string m_strDay, m_strMonth, m_strYear;
    std::string m_strHour, m_strMinute, m_strSecond;
    std::string m_strDays, m_strStepsPerDay, m_strDeltaT;

    // Parsed values.
    int m_nDay = 0, m_nMonth = 0, m_nYear = 0, m_nHour = 0, m_nMinute = 0;
    double m_dSecond = 0.0;
    int m_nDays = 0, m_nStepsPerDay = 0, m_nDeltaT = 0;

    std::vector<double> m_stepTimes;
    int m_nFirstStep = 0, m_nLastStep = 0, m_nCurStep = 0;
    // The date of m_stepTimes: the animation's frames belong to it, whatever date a
    // later command parsed.
    int m_nStepDay = 0, m_nStepMonth = 0, m_nStepYear = 0;
    int m_nShowHour = 0, m_nShowMinute = 0;

    // Layout.
    double m_zoomX = 1.0, m_zoomY = 1.0;
    int m_nDesignWidth = 748, m_nDesignHeight = 539;
    int m_bControlsCreated = 0;
    CRichEdit *m_pEditDay = nullptr, *m_pEditMonth = nullptr, *m_pEditYear = nullptr;
    CRichEdit *m_pEditHour = nullptr, *m_pEditMinute = nullptr, *m_pEditSecond = nullptr;
    CBitmapButton *m_pBtnCompute = nullptr, *m_pBtnPlus = nullptr, *m_pBtnMinus = nullptr;
    CBitmapButton *m_pBtnGenerate = nullptr, *m_pBtnStop = nullptr, *m_pBtnPlay = nullptr;
    CBitmapButton *m_pBtnMap = nullptr, *m_pBtnPrint = nullptr;

    // The theories of the path layer, the Eclipse menu and the local circumstances
    // (the frame keeps the choice in the settings); the map's outlines, umbra points
    // and limit curves, the snapshot and the contact times are the classic theories'.
    Ephemeris m_engine = Ephemeris::Precise;

    // The part of the Earth the map shows: the design's map until the user zooms, pans,
    // fits the eclipse or turns to the globe. Its layout scale is the window's.
    MapView CurrentMapView() const;
    void SetMapView(const MapView& view);
    // Zoom by factor about a window point, which keeps its place; pan by window pixels.
    void ZoomMapAbout(double px, double py, double factor);
    void PanMap(double dx, double dy);
    // The map's commands: the whole eclipse of the last map command framed (a globe for a
    // path near a pole), a globe centred on the eclipse (or on the map's centre), and the
    // design's map again.
    void OnFitEclipse();
    void OnGlobeView();
    void OnDefaultView();

    // The keyboard cursor, a crosshair on the map that does what a click does: Shift with
    // an arrow key shows it (at the map's centre) and moves it 8 pixels, Ctrl+Shift one
    // pixel; Enter or Return chooses its place (placeChosen), Escape hides it. It keeps
    // its place on the Earth while the map is zoomed or panned.
    std::optional<MapPlace> KeyboardCursor() const { return m_cursor; }
    // Shows the cursor at the map's centre (or hides it) and gives the map the keyboard.
    void ToggleKeyboardCursor();

signals:
    // The control panel's fields and buttons exist (once, at the first initial update).
    void controlsCreated();
    // A command of the control panel (ViewCommand) has run, whatever it showed.
    void commandDone(int id);
    // A map command has finished (its results are in the scene).
    void mapShown();
    // The user left-clicked the map (or pressed Enter on the keyboard cursor) at a place.
    void placeChosen(double lat, double lon);
    // The date fields were edited: what was shown for the old date is no longer current
    // (the view takes the contact lines off; the frame clears its summary).
    void dateEdited();

protected:
    // The print sequence: one A4 landscape page in low-metric units.
    bool OnPreparePrinting(CPrintInfo* info) override;
    void OnPrepareDC(CDC* dc, CPrintInfo* info) override;
    void OnPrint(CDC* dc, CPrintInfo* info) override;
    void OnDraw(CDC* dc) override;

    void OnPaint() override;
    void OnSize(unsigned type, int cx, int cy) override;
    void OnTimer(int id) override;
    void OnRButtonDown(unsigned flags, CPoint point) override;
    bool OnCommand(int id) override;

    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateEditFields();
    void CreateButtons();
    // Moves the fields and buttons to the current scale and gives the fields the font
    // of that scale, keeping their texts, focus and selection.
    void LayoutControls();
    // The same below the design size: two rows that fit the window (control_panel.cpp).
    void LayoutCompactControls();
    LogicalFont PanelFont() const;
    void ShowMissingDateBox();
    // The six field texts as read last, and their values as parsed last.
    FieldTexts CurrentFieldTexts() const;
    FieldValues CurrentFieldValues() const;
    // Shows why the fields cannot be computed in an "ERROR" box; false when they can
    // (withTime: the time fields too).
    bool RefuseBadInput(bool withTime);
    // m_nShowHour and m_nShowMinute of a step of a one-day run (0h UT of the run's date
    // shows as 0:00, not 24:00 of it).
    void ShowStepTime(double jd);
    // Repaints the window with the scene as it is now.
    void ShowScene();

    Scene m_scene;
    PendingDateMap m_pendingMap; // see SetPendingMap
    MapView m_mapView;           // zoom factors refreshed from the window when used
    // A left button pressed on the map: where, and whether it has moved into a drag.
    std::optional<QPointF> m_pressAt;
    QPointF m_lastDragAt;
    bool m_bDragging = false;
    std::optional<MapPlace> m_cursor;
    // Moves the keyboard cursor by window pixels (showing it first at the map's centre).
    void MoveKeyboardCursor(double dx, double dy);

    // The place typed into the Eclipse menu's commands (view/local_info.cpp).
    struct PlaceChoice {
        double latitude = 0.0;
        double longitude = 0.0;
        std::string name;         // "Dallas, US"; empty for typed coordinates
        std::string zone;         // IANA zone; empty when unknown
        double heightM = 0.0;     // above sea level: the gazetteer's for a named place
        std::string heightSource; // where the height comes from; empty for typed coordinates
    };
    // 0h UT of the date in the fields when it is a date the eclipse search covers.
    std::optional<double> FieldsDayStart();
    std::optional<PlaceChoice> AskForPlace(const QString& title);
    // The date in the fields (0h UT) and then a place, for the Eclipse menu's place
    // commands; none after a box with missingDate, or when the place question is cancelled.
    struct DayAndPlace {
        double day = 0.0;
        PlaceChoice place;
    };
    std::optional<DayAndPlace> AskForDayAndPlace(const QString& title, const QString& missingDate);
    void ShowPlaceReport(const PlaceChoice& place, const EclipseCircumstances& eclipse,
                         const LocalCircumstances& lc, const QString& title);
    QString m_lastPlace; // offered again in the next place question
    int m_lastKind = 0;  // the kind chosen last in "Next eclipse from here"
    int m_animationPeriodMs = kAnimationPeriodMs;
    bool m_bAnimating = false;
    // The date fields were edited: the contact lines of the old date go.
    void OnDateEdited();
};
