// Build tool: turns a Markdown manual into a PDF with Qt's own text layout, so the manual needs
// no converter beyond what the desktop program already uses.
//
//   mkmanual INPUT.md OUTPUT.pdf [TITLE]
//
// Images in the Markdown are found relative to INPUT's folder. The PDF is written through a
// temporary file and renamed into place, so a failed run never leaves half a manual behind.
#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <cmath>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: mkmanual INPUT.md OUTPUT.pdf [TITLE]\n");
        return 2;
    }
    // A build machine has no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    QFile source(input);
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "mkmanual: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString markdown = QString::fromUtf8(source.readAll());

    QTextDocument document;
    document.setBaseUrl(QUrl::fromLocalFile(QFileInfo(input).absolutePath() + QLatin1Char('/')));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(10.5);
    document.setDefaultFont(font);
    document.setDocumentMargin(0);
    document.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);

    // Tables: thin single rules and a shaded heading row instead of the default double borders.
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (table == nullptr) continue;
        QTextTableFormat format = table->format();
        format.setBorderCollapse(true);
        format.setBorder(2); // device pixels at 300 dpi: a hairline
        format.setBorderBrush(QColor(0x9a, 0xa8, 0xc0));
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setCellSpacing(0);
        format.setCellPadding(5);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        format.setColumnWidthConstraints(
            {QTextLength(QTextLength::PercentageLength, 32), QTextLength(QTextLength::PercentageLength, 68)});
        table->setFormat(format);
        for (int column = 0; column < table->columns(); ++column) {
            QTextTableCell cell = table->cellAt(0, column);
            QTextCharFormat heading = cell.format();
            heading.setBackground(QColor(0xea, 0xf2, 0xff));
            cell.setFormat(heading);
        }
    }

    QSaveFile pdf(output);
    if (!pdf.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "mkmanual: cannot write %s\n", argv[2]);
        return 1;
    }
    {
        QPdfWriter writer(&pdf);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(22, 18, 22, 14),
                                         QPageLayout::Millimeter));
        writer.setResolution(300);
        writer.setCreator(QStringLiteral("Vaultwing"));
        writer.setTitle(argc == 4 ? QString::fromLocal8Bit(argv[3]) : QFileInfo(input).completeBaseName());

        // Lay the text out for the PDF's resolution, leaving a strip at the foot for the page number.
        document.documentLayout()->setPaintDevice(&writer);
        const QRectF area = writer.pageLayout().paintRectPixels(writer.resolution());
        const qreal footer = 8.0 / 25.4 * writer.resolution();
        const QSizeF page(area.width(), area.height() - footer);
        document.setPageSize(page);

        // Keep each heading with what follows: one that would end a page starts the next.
        const qreal minimumBelow = 4 * QFontMetricsF(font, &writer).lineSpacing();
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            if (block.blockFormat().headingLevel() == 0) continue;
            const QRectF rect = document.documentLayout()->blockBoundingRect(block);
            const qreal pageEnd = (std::floor(rect.top() / page.height()) + 1) * page.height();
            if (pageEnd - rect.bottom() < minimumBelow) {
                QTextBlockFormat format;
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                QTextCursor(block).mergeBlockFormat(format);
                document.markContentsDirty(0, document.characterCount()); // lay everything out again
            }
        }

        QPainter painter(&writer);
        QFont numberFont = font;
        numberFont.setPointSizeF(9);
        const int pages = document.pageCount();
        for (int i = 0; i < pages; ++i) {
            if (i > 0) writer.newPage();
            painter.save();
            painter.translate(0, -i * page.height());
            document.drawContents(&painter, QRectF(0, i * page.height(), page.width(), page.height()));
            painter.restore();
            painter.setFont(numberFont);
            painter.setPen(Qt::darkGray);
            painter.drawText(QRectF(0, page.height(), page.width(), footer), Qt::AlignRight | Qt::AlignBottom,
                             QString::number(i + 1));
        }
        if (!painter.end()) {
            std::fprintf(stderr, "mkmanual: cannot lay out %s\n", argv[2]);
            return 1;
        }
    } // the writer finishes the file when it goes
    if (!pdf.commit()) {
        std::fprintf(stderr, "mkmanual: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
