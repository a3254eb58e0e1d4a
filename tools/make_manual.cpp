// Writes the user manual: renders its Markdown source to one HTML page with Qt's Markdown
// support. Every heading gets the anchor that GitHub gives it, so that the links of the contents
// work in the page as on GitHub; the pictures it shows are embedded, so that the page is the one
// file to install. Usage: make-manual MANUAL.md OUTPUT.html
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include <cstdio>

namespace {

// The anchor of a heading as GitHub makes it: lower case, punctuation dropped, spaces turned
// into hyphens; a repeated anchor gets "-1", "-2", ...
QString Anchor(const QString& heading, QSet<QString>& taken) {
    QString anchor;
    for (const QChar c : heading.toLower()) {
        if (c.isLetterOrNumber() || c == u'-' || c == u'_') {
            anchor.append(c);
        } else if (c == u' ') {
            anchor.append(u'-');
        }
    }
    QString unique = anchor;
    for (int n = 1; taken.contains(unique); ++n) {
        unique = anchor + u'-' + QString::number(n);
    }
    taken.insert(unique);
    return unique;
}

// Makes every heading an anchor named after it; returns the text of the first heading, the
// page's title.
QString NameHeadings(QTextDocument& document) {
    QSet<QString> taken;
    QString title;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0 || block.text().isEmpty()) {
            continue;
        }
        if (title.isEmpty()) {
            title = block.text();
        }
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setAnchor(true);
        format.setAnchorNames({Anchor(block.text(), taken)});
        cursor.mergeCharFormat(format);
    }
    return title;
}

// Writes code, inline and in blocks, in a monospaced font: the import marks it only as fixed
// pitch, which a page does not show.
void MarkCode(QTextDocument& document) {
    QTextCharFormat code;
    code.setFontFamilies(
        QStringList{QStringLiteral("DejaVu Sans Mono"), QStringLiteral("monospace")});
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextFragment part = fragment.fragment();
            if (part.charFormat().fontFixedPitch()) {
                QTextCursor cursor(&document);
                cursor.setPosition(part.position());
                cursor.setPosition(part.position() + part.length(), QTextCursor::KeepAnchor);
                cursor.mergeCharFormat(code);
            }
        }
    }
}

// Replaces every picture the page refers to by the picture itself (a data: address), read
// beside the Markdown source. A picture that is missing is an error: the page shows no hole.
bool EmbedPictures(QString& html, const QDir& sourceFolder, QString& error) {
    static const QRegularExpression picture(QStringLiteral("<img src=\"([^\"]+)\""));
    QString result;
    qsizetype copied = 0;
    for (const QRegularExpressionMatch& match : picture.globalMatch(html)) {
        const QString name = match.captured(1);
        QFile file(sourceFolder.filePath(name));
        if (!name.endsWith(QLatin1String(".png")) || !file.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("the picture %1 is not a PNG file beside the manual").arg(name);
            return false;
        }
        result += QStringView(html).mid(copied, match.capturedStart(1) - copied);
        result += QLatin1String("data:image/png;base64,") +
                  QString::fromLatin1(file.readAll().toBase64());
        copied = match.capturedEnd(1);
    }
    result += QStringView(html).mid(copied);
    html = result;
    return true;
}

// The look of the page, over the inline styles that the export writes.
constexpr char kStyle[] = R"(<meta name="viewport" content="width=device-width, initial-scale=1" />
<style type="text/css">
body { font-family: "DejaVu Sans", "Liberation Sans", Arial, sans-serif !important;
       font-size: 11pt !important; line-height: 1.45; color: #222; max-width: 52em;
       margin: 2em auto !important; padding: 0 1.5em; }
h1 { font-size: 1.8em !important; }
h2 { font-size: 1.4em !important; border-bottom: 1px solid #ccd; padding-bottom: 0.2em;
     margin-top: 2em !important; }
h3 { font-size: 1.15em !important; margin-top: 1.5em !important; }
table { border-collapse: collapse; margin: 0.8em 0; }
td, th { border: 1px solid #ccd; padding: 0.3em 0.6em !important; vertical-align: top; }
th { background: #eef; }
pre { background: #f2f2f6; margin: 0 !important; padding: 0 0.8em; overflow-x: auto; }
:not(pre) + pre { margin-top: 0.6em !important; padding-top: 0.5em; }
pre:has(+ :not(pre)) { margin-bottom: 0.6em !important; padding-bottom: 0.5em; }
img { max-width: 100%; height: auto; }
a { color: #1a4fa0; }
</style>
)";

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: make-manual MANUAL.md OUTPUT.html\n");
        return 2;
    }
    QFile source(arguments[1]);
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make-manual: %s cannot be read: %s\n", qPrintable(arguments[1]),
                     qPrintable(source.errorString()));
        return 1;
    }
    QTextDocument document;
    // The page's own style sheet sets its fonts; this one only gives the headings their sizes.
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 11));
    document.setMarkdown(QString::fromUtf8(source.readAll()), QTextDocument::MarkdownDialectGitHub);
    MarkCode(document);
    const QString title = NameHeadings(document);
    document.setMetaInformation(QTextDocument::DocumentTitle, title);

    QString html = document.toHtml();
    QString error;
    if (!EmbedPictures(html, QFileInfo(source).absoluteDir(), error)) {
        std::fprintf(stderr, "make-manual: %s\n", qPrintable(error));
        return 1;
    }
    html.replace(QLatin1String("</head>"), QLatin1String(kStyle) + QLatin1String("</head>"));
    // An option or a name in the text is never broken at its hyphens.
    html.replace(QLatin1String("font-family:'DejaVu Sans Mono','monospace';"),
                 QLatin1String("font-family:'DejaVu Sans Mono','monospace'; white-space:nowrap;"));

    QSaveFile output(arguments[2]);
    if (!output.open(QIODevice::WriteOnly) || output.write(html.toUtf8()) < 0 || !output.commit()) {
        std::fprintf(stderr, "make-manual: %s cannot be written: %s\n", qPrintable(arguments[2]),
                     qPrintable(output.errorString()));
        return 1;
    }
    return 0;
}
