#include "JsonDuplicateKeys.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <vector>

namespace ornis {

namespace {

// An object or array being scanned, and where the scan stands in it.
struct Container
{
    bool object;
    QString path;
    QSet<QString> keys;
    QString member; // object: the member whose value comes next
    qsizetype index = 0; // array: the element that comes next
    bool expectKey = true;
};

QString childPath(const Container &parent)
{
    if (!parent.object)
        return QStringLiteral("%1[%2]").arg(parent.path).arg(parent.index);
    return parent.path.isEmpty() ? parent.member : parent.path + '.' + parent.member;
}

// The index after the string token that starts at `begin` (its opening quote).
qsizetype stringEnd(const QByteArray &json, qsizetype begin)
{
    qsizetype end = begin + 1;
    while (end < json.size() && json[end] != '"')
        end += json[end] == '\\' ? 2 : 1;
    return std::min(end + 1, json.size());
}

// The text of a string token, its escapes resolved as the JSON reader resolves them.
QString stringText(const QByteArray &token)
{
    return QJsonDocument::fromJson('[' + token + ']').array().at(0).toString();
}

} // namespace

std::optional<QString> firstDuplicateKey(const QByteArray &json)
{
    std::vector<Container> open;
    qsizetype i = 0;
    while (i < json.size()) {
        const char c = json[i];
        if (c == '{' || c == '[') {
            const QString path = open.empty() ? QString() : childPath(open.back());
            open.push_back({c == '{', path, {}, {}});
            ++i;
        } else if (c == '}' || c == ']') {
            if (!open.empty())
                open.pop_back();
            ++i;
        } else if (c == ',') {
            if (!open.empty()) {
                open.back().expectKey = true;
                ++open.back().index;
            }
            ++i;
        } else if (c == '"') {
            const qsizetype end = stringEnd(json, i);
            if (!open.empty() && open.back().object && open.back().expectKey) {
                Container &object = open.back();
                object.member = stringText(json.mid(i, end - i));
                object.expectKey = false;
                if (object.keys.contains(object.member))
                    return childPath(object);
                object.keys.insert(object.member);
            }
            i = end;
        } else {
            ++i;
        }
    }
    return std::nullopt;
}

} // namespace ornis
