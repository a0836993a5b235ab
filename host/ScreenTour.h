#pragma once

#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>

class HostWindow;
class QDialog;
class QWidget;

// Walks through every screen of the monitor page in a host window and saves
// each as a PNG: both views, the diary of each category, the date dialog,
// the detail box and the isolation confirmation box. It works the page with
// mouse events as a user would and finds the page's widgets by object name,
// class name and place, since the host knows only the tool-page interface.
// Dialogs are drawn over the window where they stand, as on a screen.
class ScreenTour
{
public:
    ScreenTour(HostWindow& window, const QString& directory);

    // Saves every screen; the paths written, in order. Empty when a screen
    // could not be reached or saved (see error()).
    QStringList run();
    QString error() const { return m_error; }

private:
    void saveViews();
    void saveDiaries();
    void saveDiaryExtras(int category, QDialog& diary);
    void saveConfirmationBox();

    // `windows` composed bottom to top over a neutral desktop, saved as
    // `name` in the directory.
    void save(const QString& name, const QList<QWidget*>& windows);
    void fail(const QString& error);

    HostWindow& m_window;
    QDir m_directory;
    QStringList m_written;
    QString m_error;
};
