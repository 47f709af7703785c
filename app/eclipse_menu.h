#pragma once

// The Eclipse menu: Next eclipse (Ctrl+Page Down) and Previous eclipse (Ctrl+Page Up)
// from the date in the fields (today when they are empty), and List... with the
// eclipses between two dates. Each writes the eclipse's date into the fields and runs
// the map command; after every map command the status bar names the eclipse of the
// date and its greatest eclipse. Its Ephemeris submenu chooses the theories of all
// this and of the path on the map (precise or classic), kept in the settings.

#include "ephemeris/engine.h"

#include <QObject>
#include <QPointer>

#include <optional>

class CKestrovaView;
class EclipseListDialog;
class QAction;
class QMainWindow;

class EclipseMenu : public QObject {
    Q_OBJECT

public:
    EclipseMenu(QMainWindow* frame, CKestrovaView* view);

    void OnNextEclipse();
    void OnPreviousEclipse();
    void OnListEclipses();

    // Writes the date into the fields (the time fields emptied) and runs the map command.
    void ShowEclipseOf(int day, int month, int year);

    // The status-bar line for the date in the fields: the eclipse whose greatest
    // eclipse falls on it, or empty.
    QString SummaryForFields() const;

    EclipseListDialog* ListDialog() const;

    // The engine chosen, into the view and the settings.
    void ChooseEngine(Ephemeris engine);

private:
    // The date in the fields as the Julian day of its 0h UT; today (and today set)
    // when all three are empty; none (after the "ERROR" box) when it is not a date.
    std::optional<double> FieldDate(bool& today);
    void Step(bool forward);
    void ShowSummary();

    QMainWindow* m_frame;
    CKestrovaView* m_view;
    QPointer<EclipseListDialog> m_list;
    QAction* m_precise = nullptr;
    QAction* m_classic = nullptr;
};
