#pragma once
// The About window: the program's version and licence, the ephemeris it computes with and the
// data files it reads, and the version of the time-zone database that converts local times.

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace orbivex {

// The facts the window shows, gathered apart from it.
struct AboutFacts {
    QString version;
    QString ephemerisVersion;
    QString ephemerisFolder; // empty: the library's built-in theory
    QStringList ephemerisFiles;
    QString zoneDatabaseVersion; // empty when the system does not say
};

AboutFacts GatherAboutFacts(const QString& programFolder);
// The version line of the system's time-zone database ("# version 2025b" in tzdata.zi); "".
QString ZoneDatabaseVersion(const QString& zoneFolder = QStringLiteral("/usr/share/zoneinfo"));
// The window's text, as rich text.
QString AboutText(const AboutFacts& facts);

class frmAbout : public QDialog {
    Q_OBJECT

  public:
    frmAbout(const AboutFacts& facts, QWidget* parent);

    QLabel* lblAbout = nullptr;
    QPushButton* cmdClose = nullptr;
};

} // namespace orbivex
