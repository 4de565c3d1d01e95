// The level being edited: the file's lines in their order, comment lines kept as they are,
// records read with the game's own loader and written back in the format it reads.
#include "document.h"

#include <sstream>

#include "Enemy.h"
#include "Level.h"

namespace {

std::string pointText(point p) {
    return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")";
}

// What the loader made of a record line, in the editor's terms.
LevelObject objectOf(const LoadedRecord& record, Level& level) {
    LevelObject object;
    object.kind = record.kind;
    if (record.wall != nullptr) {
        object.at = record.wall->getStart();
        object.to = record.wall->getEnd();
    } else if (record.area != nullptr) {
        object.at = {record.area->left, record.area->top};
        object.to = {record.area->right, record.area->bottom};
    } else if (record.target != nullptr) {
        object.at = {record.target->getXPosition(), record.target->getYPosition()};
        if (const auto* enemy = dynamic_cast<const Enemy*>(record.target)) {
            object.direction = enemy->getDirection();
            const std::list<point>& path = enemy->getPath();
            // A path of the start point alone is what a line without a path loads as.
            const bool standsStill =
                path.size() == 1 && path.front().x == object.at.x && path.front().y == object.at.y;
            if (!standsStill)
                object.walk.assign(path.begin(), path.end());
        }
    } else {
        const Sprite* player = level.getPlayer();
        object.at = {player->getXPosition(), player->getYPosition()};
    }
    return object;
}

}  // namespace

bool operator==(const LevelObject& a, const LevelObject& b) {
    auto same = [](point p, point q) { return p.x == q.x && p.y == q.y; };
    if (a.kind != b.kind || !same(a.at, b.at) || !same(a.to, b.to) || a.direction != b.direction ||
        a.walk.size() != b.walk.size())
        return false;
    for (size_t i = 0; i < a.walk.size(); ++i)
        if (!same(a.walk[i], b.walk[i]))
            return false;
    return true;
}

bool isShooter(RecordKind kind) {
    return kind == RecordKind::EnemyForward || kind == RecordKind::EnemyDual;
}

std::string formatRecord(const LevelObject& object) {
    std::string line = recordKeyword(object.kind) + pointText(object.at);
    switch (object.kind) {
        case RecordKind::ShipArea:
        case RecordKind::Wall:
            return line + " " + pointText(object.to);
        case RecordKind::EnemyForward:
        case RecordKind::EnemyDual:
            line += directionWord(object.direction);
            for (size_t i = 0; i < object.walk.size(); ++i)
                line += (i == 0 ? "" : " ") + pointText(object.walk[i]);
            return line;
        case RecordKind::None:
            return "";
        default:
            return line;
    }
}

size_t DocumentLine::bytes() const {
    return sizeof(DocumentLine) + text.capacity() + end.capacity() +
           (object ? object->walk.capacity() * sizeof(point) : 0);
}

LevelDocument LevelDocument::fromText(const std::string& text) {
    LevelDocument document;
    Level scratch(std::vector<std::string>(), "", nullptr, 1);
    int lineNumber = 0;
    size_t crlf = 0, lf = 0;
    // Split as readLevelLine splits, on LF with a CR before it taken off, but keep the ends.
    for (size_t start = 0; start < text.size();) {
        const size_t feed = text.find('\n', start);
        const size_t stop = feed == std::string::npos ? text.size() : feed;
        DocumentLine entry{text.substr(start, stop - start), std::nullopt,
                           feed == std::string::npos ? "" : "\n"};
        if (!entry.text.empty() && entry.text.back() == '\r') {
            entry.text.pop_back();
            entry.end.insert(0, "\r");
        }
        (entry.end == "\r\n" ? crlf : lf) += entry.end.empty() ? 0 : 1;
        // The loader's problems are the checker's to show; here they would only repeat.
        const LoadedRecord record =
            loadRecord(scratch, entry.text, "", ++lineNumber, ignoreLoadProblem);
        if (record.kind != RecordKind::None)
            entry.object = objectOf(record, scratch);
        document.content.push_back(std::move(entry));
        start = stop + 1;
    }
    document.lineEnd = crlf > lf ? "\r\n" : "\n";
    return document;
}

LevelDocument LevelDocument::newLevel() {
    return fromText("New level\nShip(487, 680)\nShipArea(312, 620) (712, 760)\n");
}

std::string LevelDocument::text() const {
    size_t length = 0;
    for (const DocumentLine& entry : content)
        length += entry.text.size() + entry.end.size();
    std::string out;
    out.reserve(length);
    for (const DocumentLine& entry : content)
        out.append(entry.text).append(entry.end);
    return out;
}

TextTraits LevelDocument::traits() const {
    TextTraits traits;
    traits.lines = content.size();
    for (const DocumentLine& entry : content) {
        traits.records += entry.object ? 1 : 0;
        traits.filled += entry.text.find_first_not_of(" \t") != std::string::npos ? 1 : 0;
        traits.crlfEnds += entry.end == "\r\n" ? 1 : 0;
        traits.lfEnds += entry.end == "\n" ? 1 : 0;
        traits.nulBytes = traits.nulBytes || entry.text.find('\0') != std::string::npos;
    }
    traits.lastLineEnded = content.empty() || !content.back().end.empty();
    return traits;
}

std::vector<std::string> LevelDocument::lines() const {
    std::vector<std::string> out;
    out.reserve(content.size());
    for (const DocumentLine& entry : content)
        out.push_back(entry.text);
    return out;
}

const LevelObject* LevelDocument::object(size_t index) const {
    if (index >= content.size() || !content[index].object)
        return nullptr;
    return &*content[index].object;
}

std::optional<size_t> LevelDocument::shipLine() const {
    for (size_t i = content.size(); i-- > 0;)
        if (content[i].object && content[i].object->kind == RecordKind::Ship)
            return i;
    return std::nullopt;
}

void LevelDocument::endLastLine() {
    if (!content.empty() && content.back().end.empty())
        content.back().end = lineEnd;
}

size_t LevelDocument::add(const LevelObject& object) {
    endLastLine();
    content.push_back({formatRecord(object), object, lineEnd});
    return content.size() - 1;
}

void LevelDocument::replace(size_t index, const LevelObject& object) {
    content[index].text = formatRecord(object);
    content[index].object = object;
}

void LevelDocument::remove(size_t index) {
    content.erase(content.begin() + long(index));
}

void LevelDocument::swapLines(size_t a, size_t b) {
    std::swap(content[a].text, content[b].text);
    std::swap(content[a].object, content[b].object);
}

std::vector<DocumentLine> LevelDocument::slice(size_t at, size_t count) const {
    return std::vector<DocumentLine>(content.begin() + long(at),
                                     content.begin() + long(at + count));
}

void LevelDocument::splice(size_t at, size_t count, const std::vector<DocumentLine>& lines) {
    const auto first =
        content.erase(content.begin() + long(at), content.begin() + long(at + count));
    content.insert(first, lines.begin(), lines.end());
}

namespace {
// A first line with a "(" may be a record that the loader refused: it is never the name.
bool isNameLine(const DocumentLine& line) {
    return line.text.find('(') == std::string::npos;
}
}  // namespace

std::string LevelDocument::name() const {
    if (content.empty() || !isNameLine(content.front()))
        return "";
    return content.front().text;
}

bool LevelDocument::validName(const std::string& name) {
    for (char c : name)
        if (c == '(' || c < ' ' || c > '~')
            return false;
    return true;
}

bool LevelDocument::setName(const std::string& name) {
    if (!content.empty() && isNameLine(content.front())) {
        content.front().text = name;
        return false;
    }
    content.insert(content.begin(), DocumentLine{name, std::nullopt, lineEnd});
    return true;
}
