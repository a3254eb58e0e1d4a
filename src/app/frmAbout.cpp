#include "app/frmAbout.h"

#include "core/EphemerisInfo.h"
#include "support/Version.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orbivex {

QString ZoneDatabaseVersion(const QString& zoneFolder) {
    QFile file(zoneFolder + QStringLiteral("/tzdata.zi"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString first = QString::fromLatin1(file.readLine(200)).trimmed();
    const QString prefix = QStringLiteral("# version ");
    return first.startsWith(prefix) ? first.mid(prefix.size()).trimmed() : QString();
}

AboutFacts GatherAboutFacts(const QString& programFolder) {
    AboutFacts facts;
    facts.version = QString::fromLatin1(ProgramVersion());
    facts.ephemerisVersion = EphemerisLibraryVersion();
    const EphemerisData data = FindEphemerisData(programFolder);
    facts.ephemerisFolder = data.folder;
    facts.ephemerisFiles = data.files;
    facts.zoneDatabaseVersion = ZoneDatabaseVersion();
    return facts;
}

QString AboutText(const AboutFacts& facts) {
    const QString data =
        facts.ephemerisFolder.isEmpty()
            ? QStringLiteral("no planet files found: positions come from the library's "
                             "built-in theory (less precise)")
            : QStringLiteral("%1 (%2)").arg(
                  facts.ephemerisFolder.toHtmlEscaped(),
                  facts.ephemerisFiles.join(QStringLiteral(", ")).toHtmlEscaped());
    return QStringLiteral("<h2>Orbivex %1</h2>"
                          "<p>Heliocentric aspects of Earth to Pluto, years 1 to 2799.</p>"
                          "<p>Licence: GNU Affero General Public License, version 3 or later. "
                          "It comes with no warranty.</p>"
                          "<p>Ephemeris: Swiss Ephemeris %2<br>Ephemeris data: %3</p>"
                          "<p>Time-zone database: %4</p>")
        .arg(facts.version.toHtmlEscaped(), facts.ephemerisVersion.toHtmlEscaped(), data,
             facts.zoneDatabaseVersion.isEmpty() ? QStringLiteral("version not known")
                                                 : facts.zoneDatabaseVersion.toHtmlEscaped());
}

frmAbout::frmAbout(const AboutFacts& facts, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Orbivex"));
    lblAbout = new QLabel(AboutText(facts), this);
    lblAbout->setObjectName(QStringLiteral("lblAbout"));
    lblAbout->setTextFormat(Qt::RichText);
    lblAbout->setWordWrap(true);
    lblAbout->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblAbout->setMinimumWidth(420);
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setDefault(true);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblAbout, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
}

} // namespace orbivex
