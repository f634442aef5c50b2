#include "labels/label_definitions.h"

#include <functional>

#include "engine/file_io.h"
#include "engine/units.h"
#include "project/xml_document.h"

namespace labels {

using engine::Msg;
using engine::Status;
using project_io::XmlDocument;
using project_io::XmlError;
using project_io::XmlNode;

namespace {

constexpr const char* kRoot = "velm_label";
constexpr const char* kLineNames[kLabelLineCount] = {"Size",   "Name",   "Company", "Project", "Author",
                                                     "Client", "Address", "Phone",  "Note",    "Date"};

Status unreadable(const std::string& path, const std::string& where, const Status& problem = {})
{
    Status s(Msg::LabelFileUnreadable, where.empty() ? std::vector<std::string>{path}
                                                     : std::vector<std::string>{path, where});
    if (!problem.ok())
        s.reason = problem.msg;
    return s;
}

// Opens the file; LabelFileUnreadable with the path and the line or the
// missing root when it cannot be used.
Status openDocument(XmlDocument& doc, const std::string& path)
{
    const XmlError e = doc.load(path, engine::FileLimit::kSettings);
    if (e == XmlError::CannotOpen)
        return unreadable(path, "", doc.problem());
    if (e != XmlError::None)
        return unreadable(path, doc.errorDetail());
    if (doc.root().tag() != kRoot)
        return unreadable(path, std::string("root element ") + kRoot);
    return {};
}

// Element under the root, without making one (a file without it is damaged).
Status requireChild(const XmlNode& parent, const char* tag, const std::string& path, XmlNode& out)
{
    out = parent.findChild(tag);
    if (!out.valid())
        return unreadable(path, tag);
    return {};
}

bool readInt(const XmlNode& node, const char* tag, int& out)
{
    std::int32_t v = 0;
    if (!engine::parseInteger(node.findChild(tag).text(), v))
        return false;
    out = v;
    return true;
}

std::string readText(const XmlNode& node, const char* tag) { return node.findChild(tag).text(); }

Status readStyle(const XmlNode& label, int index, const std::string& path, LabelStyle& s)
{
    s.name = label.attribute("Name");
    const char* bad = nullptr;
    if (!readInt(label, "SizeUnit", s.sizeUnit))
        bad = "SizeUnit";
    else if (!readInt(label, "MarginUnit", s.marginUnit))
        bad = "MarginUnit";
    else if (!readInt(label, "GutterUnit", s.gutterUnit))
        bad = "GutterUnit";
    else if (!readInt(label, "LayoutRows", s.rows))
        bad = "LayoutRows";
    else if (!readInt(label, "LayoutColumns", s.columns))
        bad = "LayoutColumns";
    if (bad)
        return unreadable(path, "Labels/Label[" + std::to_string(index + 1) + "]/" + bad);
    s.sizeWidth = readText(label, "SizeWidth");
    s.sizeLength = readText(label, "SizeLength");
    s.marginLeft = readText(label, "MarginLeft");
    s.marginRight = readText(label, "MarginRight");
    s.marginTop = readText(label, "MarginTop");
    s.marginBottom = readText(label, "MarginBottom");
    s.gutterHorizontal = readText(label, "GutterHorizontal");
    s.gutterVertical = readText(label, "GutterVertical");
    return {};
}

Status readKind(const XmlNode& content, LabelKind k, const std::string& path, LabelKindSetup& out)
{
    XmlNode node;
    if (Status s = requireChild(content, kindElement(k), path, node); !s.ok())
        return s;
    out.output = readBool(node.attribute("output"));
    out.border = readBool(node.attribute("border"));
    const XmlNode item = node.findChild("Item");
    for (int i = 0; i < kLabelLineCount; ++i) {
        const XmlNode line = item.findChild(kLineNames[i]);
        LabelLineSetup& l = out.lines[static_cast<size_t>(i)];
        l.output = readBool(line.attribute("output"));
        l.bold = readBool(line.attribute("bold"));
        l.text = line.attribute("text");
        std::int32_t size = 0;
        if (line.valid() && engine::parseInteger(line.attribute("fontsize"), size))
            l.fontSize = size;
        else if (line.valid() && line.hasAttribute("fontsize"))
            return unreadable(path, std::string("Content/") + kindElement(k) + "/Item/" + kLineNames[i] + "/fontsize");
    }
    return {};
}

Status readTree(const XmlDocument& doc, const std::string& path, LabelDefinitions& d)
{
    XmlNode labels;
    if (Status s = requireChild(doc.root(), "Labels", path, labels); !s.ok())
        return s;
    std::int32_t n = 0;
    d.count = engine::parseInteger(labels.attribute("count"), n) ? n : 0;
    d.active = engine::parseInteger(labels.attribute("active"), n) ? n : 0;
    // The styles are the Label elements that are there; count is not trusted.
    int i = 0;
    for (XmlNode l = labels.findChild("Label"); l.valid(); l = l.nextItem(), ++i) {
        LabelStyle s;
        if (Status st = readStyle(l, i, path, s); !st.ok())
            return st;
        d.styles.push_back(std::move(s));
    }
    XmlNode content;
    if (Status s = requireChild(doc.root(), "Content", path, content); !s.ok())
        return s;
    for (LabelKind k : kLabelKinds)
        if (Status s = readKind(content, k, path, d.kind(k)); !s.ok())
            return s;
    return {};
}

// Opens the file, lets `change` edit the tree, and writes it back whole.
Status changeFile(const std::string& path, const std::function<Status(XmlDocument&)>& change)
{
    XmlDocument doc;
    if (Status s = openDocument(doc, path); !s.ok())
        return s;
    // A file that does not read whole is damaged: it is reported, never
    // changed, so that nothing of it is lost by a save over it.
    LabelDefinitions whole;
    if (Status s = readTree(doc, path, whole); !s.ok())
        return s;
    if (Status s = change(doc); !s.ok())
        return s;
    if (doc.save() != XmlError::None)
        return engine::becauseOf(Msg::LabelFileUnwritable, {path}, doc.problem());
    doc.close();
    return {};
}

const char* boolText(bool b) { return b ? "true" : "false"; }

void writeStyle(const XmlNode& label, const LabelStyle& s)
{
    label.child("SizeUnit").setText(std::to_string(s.sizeUnit));
    label.child("SizeWidth").setText(s.sizeWidth);
    label.child("SizeLength").setText(s.sizeLength);
    label.child("MarginUnit").setText(std::to_string(s.marginUnit));
    label.child("MarginLeft").setText(s.marginLeft);
    label.child("MarginRight").setText(s.marginRight);
    label.child("MarginTop").setText(s.marginTop);
    label.child("MarginBottom").setText(s.marginBottom);
    label.child("GutterUnit").setText(std::to_string(s.gutterUnit));
    label.child("GutterHorizontal").setText(s.gutterHorizontal);
    label.child("GutterVertical").setText(s.gutterVertical);
    label.child("LayoutRows").setText(std::to_string(s.rows));
    label.child("LayoutColumns").setText(std::to_string(s.columns));
}

} // namespace

const char* kindElement(LabelKind k)
{
    switch (k) {
    case LabelKind::Part:
        return "Part";
    case LabelKind::UsedTable:
        return "UsedTable";
    case LabelKind::Offcut:
        return "Offcut";
    }
    return "Part";
}

const char* lineElement(LabelLine l) { return kLineNames[static_cast<int>(l)]; }

int LabelDefinitions::activeStyle() const
{
    if (styles.empty())
        return -1;
    return active >= 0 && active < static_cast<int>(styles.size()) ? active : 0;
}

bool readBool(std::string_view text)
{
    return text == "true" || text == "True" || text == "TRUE" || text == "1" || text == "-1";
}

std::string labelDefinitionsPath(const std::string& programFolder, engine::DataUse use)
{
    return engine::programDataPath(programFolder, "Config/velmlabels.xml", use);
}

engine::Result<LabelDefinitions> readLabelDefinitions(const std::string& path)
{
    XmlDocument doc;
    if (Status s = openDocument(doc, path); !s.ok())
        return s;
    LabelDefinitions d;
    if (Status s = readTree(doc, path, d); !s.ok())
        return s;
    return d;
}

engine::Result<LabelDefinitions> parseLabelDefinitions(std::string_view text, const std::string& name)
{
    XmlDocument doc;
    if (doc.loadFromText(text) != XmlError::None)
        return unreadable(name, doc.errorDetail());
    if (doc.root().tag() != kRoot)
        return unreadable(name, std::string("root element ") + kRoot);
    LabelDefinitions d;
    if (Status s = readTree(doc, name, d); !s.ok())
        return s;
    return d;
}

Status addLabelStyle(const std::string& path, const std::string& name)
{
    return changeFile(path, [&](XmlDocument& doc) {
        const XmlNode labels = doc.root().findChild("Labels");
        const int styles = labels.itemCount("Label");
        const XmlNode label = labels.appendItem("Label");
        label.setAttribute("Name", name);
        writeStyle(label, LabelStyle{name, 0, "0", "0", 0, "0", "0", "0", "0", 0, "0", "0", 1, 1});
        labels.setAttribute("count", std::to_string(styles + 1));
        labels.setAttribute("active", std::to_string(styles));
        return Status{};
    });
}

Status deleteLabelStyle(const std::string& path, int index)
{
    return changeFile(path, [&](XmlDocument& doc) {
        const XmlNode labels = doc.root().findChild("Labels");
        const int styles = labels.itemCount("Label");
        if (index < 0 || index >= styles)
            return Status(Msg::LabelStyleMissing, {std::to_string(index + 1)});
        if (styles == 1)
            return Status(Msg::LabelLastStyle);
        labels.removeItem("Label", index);
        labels.setAttribute("count", std::to_string(styles - 1));
        labels.setAttribute("active", "0");
        return Status{};
    });
}

Status selectLabelStyle(const std::string& path, int index)
{
    return changeFile(path, [&](XmlDocument& doc) {
        const XmlNode labels = doc.root().findChild("Labels");
        if (index < 0 || index >= labels.itemCount("Label"))
            return Status(Msg::LabelStyleMissing, {std::to_string(index + 1)});
        labels.setAttribute("active", std::to_string(index));
        return Status{};
    });
}

Status saveLabelStyle(const std::string& path, int index, const LabelStyle& style)
{
    return changeFile(path, [&](XmlDocument& doc) {
        const XmlNode labels = doc.root().findChild("Labels");
        const XmlNode label = labels.item("Label", index);
        if (!label.valid())
            return Status(Msg::LabelStyleMissing, {std::to_string(index + 1)});
        labels.setAttribute("active", std::to_string(index));
        writeStyle(label, style);
        return Status{};
    });
}

Status saveLabelKind(const std::string& path, LabelKind kind, const LabelKindSetup& setup)
{
    return changeFile(path, [&](XmlDocument& doc) {
        const XmlNode node = doc.root().child("Content").child(kindElement(kind));
        node.setAttribute("border", boolText(setup.border));
        const XmlNode item = node.child("Item");
        for (int i = 0; i < kLabelLineCount; ++i) {
            const XmlNode line = item.child(kLineNames[i]);
            const LabelLineSetup& l = setup.lines[static_cast<size_t>(i)];
            line.setAttribute("bold", boolText(l.bold));
            line.setAttribute("fontsize", std::to_string(l.fontSize));
            line.setAttribute("output", boolText(l.output));
            line.setAttribute("text", l.text);
        }
        return Status{};
    });
}

Status saveLabelChoice(const std::string& path, const std::array<bool, 3>& outputs, int active)
{
    return changeFile(path, [&](XmlDocument& doc) {
        const XmlNode content = doc.root().child("Content");
        for (LabelKind k : kLabelKinds)
            content.child(kindElement(k)).setAttribute("output", boolText(outputs[static_cast<size_t>(kindIndex(k))]));
        const XmlNode labels = doc.root().findChild("Labels");
        if (active >= 0 && active < labels.itemCount("Label"))
            labels.setAttribute("active", std::to_string(active));
        return Status{};
    });
}

} // namespace labels
