// isp-doc-render IN.md OUT: renders a Markdown guide to HTML (OUT ends in .html) or to an A4 PDF
// (OUT ends in .pdf). The build uses it to make the guides the Help menu opens.
#include <QFile>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: isp-doc-render IN.md OUT.html|OUT.pdf\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen"); // no display needed at build time
    }
    QGuiApplication app(argc, argv);
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "isp-doc-render: cannot read %s\n", argv[1]);
        return 1;
    }
    QTextDocument document;
    document.setMarkdown(QString::fromUtf8(in.readAll()));
    const QString out = QString::fromLocal8Bit(argv[2]);
    if (out.endsWith(".pdf")) {
        QPdfWriter writer(out);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setTitle(document.toPlainText().section('\n', 0, 0));
        writer.setCreator("Serial EEPROM ISP");
        document.print(&writer);
        return QFile(out).size() > 0 ? 0 : 1;
    }
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly)) {
        return 1;
    }
    file.write(document.toHtml().toUtf8());
    return file.commit() ? 0 : 1;
}
