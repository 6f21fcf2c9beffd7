#include "XlsxSheet.h"

#include "ZipArchive.h"

#include <QDir>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace ornis {

namespace {

// A dial table's sheet is a few kilobytes; no part of a workbook worth reading comes near.
constexpr qsizetype PartLimit = 8 * 1024 * 1024;
constexpr int MaxRow = 1048576; // the last row and column a spreadsheet has: XFD1048576
constexpr int MaxColumn = 16384;

// _x000D_: a character, by its UTF-16 code in hexadecimal, in the texts of a workbook.
const QRegularExpression &escapeForm()
{
    static const QRegularExpression form(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    return form;
}

// Moves to the next start element inside the current element; false at its end. A document
// type declaration is refused: no part of a workbook has one, and its entities could expand.
bool nextChild(QXmlStreamReader &xml)
{
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::DTD:
            xml.raiseError(QStringLiteral("declares a document type"));
            return false;
        case QXmlStreamReader::StartElement:
            return true;
        case QXmlStreamReader::EndElement:
            return false;
        default:
            break;
        }
    }
    return false;
}

// Walks every element of a part, depth first; `visit` reads an element whole (then returns
// true) or leaves its children to the walk. The parts of a workbook nest a few levels: a
// deeper nesting is refused before it can exhaust the stack.
template<typename Visit> void walk(QXmlStreamReader &xml, Visit visit, int depth = 0)
{
    constexpr int MaxDepth = 64;
    if (depth > MaxDepth)
        xml.raiseError(QStringLiteral("nests elements too deep"));
    while (!xml.hasError() && nextChild(xml)) {
        if (!visit(xml))
            walk(xml, visit, depth + 1);
    }
}

// The text of a shared or inline text: its <t> elements, of all runs, without the phonetic
// guides (<rPh>).
QString richText(QXmlStreamReader &xml)
{
    QString text;
    walk(xml, [&text](QXmlStreamReader &x) {
        if (x.name() == u"t")
            text += x.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        else if (x.name() == u"rPh")
            x.skipCurrentElement();
        else
            return false;
        return true;
    });
    return xlsxUnescaped(text);
}

// "C3" as column 2 and row 3; nothing for a name outside the sheet.
bool parseCellName(QStringView name, int &column, int &row)
{
    static const QRegularExpression form(QStringLiteral("^([A-Z]{1,3})([1-9][0-9]{0,6})$"));
    const QRegularExpressionMatch match = form.match(name);
    if (!match.hasMatch())
        return false;
    column = 0;
    for (const QChar letter : match.capturedView(1))
        column = column * 26 + (letter.unicode() - 'A' + 1);
    --column;
    row = match.capturedView(2).toInt();
    return column < MaxColumn && row <= MaxRow;
}

// Reads the rows of <sheetData>, each cell checked against the rows and cells before it.
class SheetReader
{
public:
    SheetReader(QXmlStreamReader &xml, std::span<const QString> sharedTexts, Sheet &sheet)
        : xml_(xml)
        , sharedTexts_(sharedTexts)
        , sheet_(sheet)
    {
    }

    // Reads <row> and its cells; false once a problem is found.
    bool readRow()
    {
        const QXmlStreamAttributes attributes = xml_.attributes();
        const QStringView number = attributes.value(QLatin1String("r"));
        const int row = number.isEmpty() ? row_ + 1 : number.toInt();
        if (row <= row_ || row > MaxRow)
            return fail(QStringLiteral("row \"%1\" does not follow row %2").arg(number).arg(row_));
        row_ = row;
        column_ = -1;
        SheetRow read {row, {}};
        while (nextChild(xml_)) {
            if (xml_.name() != u"c") {
                xml_.skipCurrentElement();
                continue;
            }
            std::optional<SheetCell> cell = readCell();
            if (!cell)
                return false;
            if (cell->number || !cell->text.isEmpty())
                read.cells.push_back(std::move(*cell));
        }
        if (!read.cells.empty())
            sheet_.rows.push_back(std::move(read));
        return !xml_.hasError();
    }

private:
    std::optional<SheetCell> readCell()
    {
        const QXmlStreamAttributes attributes = xml_.attributes();
        const QStringView name = attributes.value(QLatin1String("r"));
        int column = column_ + 1;
        int row = row_;
        if (!name.isEmpty() && !parseCellName(name, column, row)) {
            fail(QStringLiteral("\"%1\" is no cell of a sheet").arg(name));
            return std::nullopt;
        }
        if (row != row_ || column <= column_ || column >= MaxColumn) {
            fail(QStringLiteral("cell %1 stands out of its place in row %2")
                     .arg(cellName(column, row))
                     .arg(row_));
            return std::nullopt;
        }
        column_ = column;
        const QString type = attributes.value(QLatin1String("t")).toString();
        QString value;
        QString inlineText;
        walk(xml_, [&](QXmlStreamReader &x) {
            if (x.name() == u"v")
                value = x.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
            else if (x.name() == u"is")
                inlineText = richText(x);
            else
                x.skipCurrentElement(); // the formula, and what else a cell may carry
            return true;
        });
        if (type == u"s")
            return sharedText(value, column);
        if (type == u"inlineStr")
            return SheetCell {column, inlineText, false};
        if (type == u"str") // the result of a formula that gives a text
            return SheetCell {column, xlsxUnescaped(value), false};
        return SheetCell {column, value, !value.isEmpty()};
    }

    std::optional<SheetCell> sharedText(const QString &value, int column)
    {
        bool ok = false;
        const qulonglong index = value.toULongLong(&ok);
        if (!ok || index >= sharedTexts_.size()) {
            fail(QStringLiteral("cell %1 names shared text \"%2\" of %3")
                     .arg(cellName(column, row_), value)
                     .arg(sharedTexts_.size()));
            return std::nullopt;
        }
        return SheetCell {column, sharedTexts_[std::size_t(index)], false};
    }

    bool fail(const QString &text)
    {
        if (!sheet_.problem)
            sheet_.problem = SheetProblem {row_, text};
        xml_.raiseError(text);
        return false;
    }

    QXmlStreamReader &xml_;
    std::span<const QString> sharedTexts_;
    Sheet &sheet_;
    int row_ = 0; // the last row read
    int column_ = -1; // the last cell read in it
};

QString folderOf(const QString &part)
{
    return part.left(part.lastIndexOf(u'/') + 1);
}

// The part a relationship of `source` names: from the root with a leading '/', else from
// the source's folder.
QString resolved(const QString &source, const QString &target)
{
    const QString path = target.startsWith(u'/') ? target.mid(1) : folderOf(source) + target;
    return QDir::cleanPath(path);
}

// Reads the parts of a workbook that lead to its first sheet; the first failure stops it.
class WorkbookReader
{
public:
    explicit WorkbookReader(QByteArrayView file)
        : zip_(file)
    {
    }

    Sheet firstSheet()
    {
        if (!zip_.isOpen())
            return failed(QStringLiteral("is no workbook (no zip archive)"));
        const QString workbook = related(QString(), u"/officeDocument", std::nullopt);
        if (workbook.isEmpty())
            return failed(problem_.isEmpty() ? QStringLiteral("is no workbook") : problem_);
        const std::optional<QString> sheetId = firstSheetId(workbook);
        if (!sheetId)
            return failed(problem_);
        const QString sheetPart = related(workbook, u"/worksheet", sheetId);
        if (sheetPart.isEmpty())
            return failed(
                problem_.isEmpty() ? QStringLiteral("its first sheet is no worksheet") : problem_);
        std::vector<QString> texts;
        const QString textsPart = related(workbook, u"/sharedStrings", std::nullopt);
        QByteArray xml;
        if (!textsPart.isEmpty()) {
            if (!read(textsPart, xml))
                return failed(problem_);
            std::optional<std::vector<QString>> shared = readSharedTexts(xml);
            if (!shared)
                return failed(textsPart + QStringLiteral(" is no XML of shared texts"));
            texts = std::move(*shared);
        }
        if (!read(sheetPart, xml))
            return failed(problem_);
        return readSheetPart(xml, texts);
    }

private:
    static Sheet failed(const QString &text) { return Sheet {{}, SheetProblem {0, text}}; }

    bool read(const QString &part, QByteArray &bytes)
    {
        const Status status = zip_.read(part, PartLimit, bytes);
        if (!status.ok())
            problem_ = QString::fromStdString(status.message());
        return status.ok();
    }

    // The target of the relationship of `source` of the type that ends in `type` (and has
    // the id `id`, if given); empty when there is none or its part cannot be read.
    QString related(const QString &source, QStringView type, const std::optional<QString> &id)
    {
        const QString part = folderOf(source) + QStringLiteral("_rels/")
            + source.mid(folderOf(source).size()) + QStringLiteral(".rels");
        QByteArray bytes;
        if (!read(part, bytes))
            return QString();
        QXmlStreamReader xml(bytes);
        QString found;
        walk(xml, [&](QXmlStreamReader &x) {
            const QXmlStreamAttributes a = x.attributes();
            if (x.name() == u"Relationship" && found.isEmpty()
                && a.value(QLatin1String("Type")).endsWith(type)
                && (!id || a.value(QLatin1String("Id")) == *id)
                && a.value(QLatin1String("TargetMode")) != u"External")
                found = resolved(source, a.value(QLatin1String("Target")).toString());
            return false;
        });
        if (xml.hasError()) {
            problem_ = part + QStringLiteral(" is no XML: ") + xml.errorString();
            return QString();
        }
        return found;
    }

    // The relationship id of the first <sheet> of the workbook.
    std::optional<QString> firstSheetId(const QString &workbook)
    {
        QByteArray bytes;
        if (!read(workbook, bytes))
            return std::nullopt;
        QXmlStreamReader xml(bytes);
        std::optional<QString> id;
        walk(xml, [&id](QXmlStreamReader &x) {
            if (x.name() != u"sheet" || id)
                return false;
            for (const QXmlStreamAttribute &attribute : x.attributes()) {
                if (attribute.name() == u"id" && !attribute.namespaceUri().isEmpty())
                    id = attribute.value().toString();
            }
            return false;
        });
        if (xml.hasError())
            problem_ = workbook + QStringLiteral(" is no XML: ") + xml.errorString();
        else if (!id)
            problem_ = QStringLiteral("the workbook has no sheet");
        return xml.hasError() ? std::nullopt : id;
    }

    ZipArchive zip_;
    QString problem_;
};

} // namespace

Sheet readXlsxSheet(QByteArrayView file)
{
    return WorkbookReader(file).firstSheet();
}

std::optional<std::vector<QString>> readSharedTexts(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    std::vector<QString> texts;
    walk(reader, [&texts](QXmlStreamReader &x) {
        if (x.name() != u"si")
            return false;
        texts.push_back(richText(x));
        return true;
    });
    if (reader.hasError())
        return std::nullopt;
    return texts;
}

Sheet readSheetPart(const QByteArray &xml, std::span<const QString> sharedTexts)
{
    QXmlStreamReader reader(xml);
    Sheet sheet;
    SheetReader rows(reader, sharedTexts, sheet);
    walk(reader, [&rows](QXmlStreamReader &x) {
        if (x.name() != u"row")
            return false;
        rows.readRow();
        return true;
    });
    if (reader.hasError()) {
        if (!sheet.problem)
            sheet.problem
                = SheetProblem {0, QStringLiteral("the sheet is no XML: ") + reader.errorString()};
        sheet.rows.clear();
    }
    return sheet;
}

QString xlsxEscaped(const QString &text)
{
    QString escaped;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c < u' ' && c != u'\t' && c != u'\n')
            escaped += QStringLiteral("_x%1_").arg(
                QString::number(c.unicode(), 16).toUpper(), 4, QChar(u'0'));
        else if (escapeForm()
                     .match(text, i, QRegularExpression::NormalMatch,
                         QRegularExpression::AnchorAtOffsetMatchOption)
                     .hasMatch())
            escaped += QStringLiteral("_x005F_"); // the '_' that opens it
        else
            escaped += c;
    }
    return escaped;
}

QString xlsxUnescaped(const QString &text)
{
    QString plain;
    qsizetype from = 0;
    for (QRegularExpressionMatchIterator it = escapeForm().globalMatch(QStringView(text));
         it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        plain += QStringView(text).sliced(from, match.capturedStart() - from);
        plain += QChar(match.capturedView(1).toUShort(nullptr, 16));
        from = match.capturedEnd();
    }
    return plain + text.sliced(from);
}

QString cellName(int column, int row)
{
    QString letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters + QString::number(row);
}

} // namespace ornis
