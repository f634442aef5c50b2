#include "output/dxf_settings.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <sstream>

#include <pugixml.hpp>

#include "engine/file_io.h"
#include "engine/units.h"

namespace output {

namespace {

// Comments, the declaration and processing instructions are kept so that a
// save writes them back.
constexpr unsigned kParseOptions = pugi::parse_full;

bool readInt(const pugi::xml_node& node, const char* child, std::int32_t& out)
{
    const pugi::xml_node c = node.child(child);
    if (!c)
        return false;
    return engine::parseInteger(c.child_value(), out);
}

// The file problem (missing, not an ordinary file, too large) when the file
// cannot be read; Ok also for a file that then does not parse.
engine::Status readDocument(const std::string& path, pugi::xml_document& doc, bool& parsed)
{
    parsed = false;
    const engine::Result<std::string> bytes = engine::readWholeFile(path, engine::FileLimit::kDxfSettings);
    if (!bytes.ok())
        return bytes.error();
    parsed = static_cast<bool>(doc.load_buffer(bytes->data(), bytes->size(), kParseOptions, pugi::encoding_auto));
    return {};
}

bool loadDocument(const std::string& path, pugi::xml_document& doc)
{
    bool parsed = false;
    return readDocument(path, doc, parsed).ok() && parsed;
}

pugi::xml_node nthChild(const pugi::xml_node& parent, const char* name, int n)
{
    int i = 0;
    for (pugi::xml_node c = parent.child(name); c; c = c.next_sibling(name), ++i)
        if (i == n)
            return c;
    return {};
}

bool readSettingsTree(const pugi::xml_document& doc, DxfSettings& settings);

// Replaces the text of an element, creating the text node when the element is empty.
bool setText(pugi::xml_node node, const std::string& text)
{
    return node && node.text().set(text.c_str());
}

} // namespace

const std::array<std::string, 7>& dxfColourNames()
{
    static const std::array<std::string, 7> names = {"Red", "Yellow", "Green", "Cyan", "Blue", "Magenta", "White"};
    return names;
}

int dxfColourFromText(std::string_view text)
{
    std::int32_t n = 0;
    if (engine::parseInteger(text, n))
        return n >= 1 && n <= 7 ? n : 0;
    const auto& names = dxfColourNames();
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        if (name.size() == text.size()
            && std::equal(name.begin(), name.end(), text.begin(), [](char a, char b) {
                   return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
               }))
            return static_cast<int>(i) + 1;
    }
    return 0;
}

const std::array<std::string, kDxfItemCount>& dxfItemKeys()
{
    static const std::array<std::string, kDxfItemCount> keys = {"parts",   "part-names",   "part-sizes",
                                                                 "offcuts", "offcut-sizes", "headers"};
    return keys;
}

std::string dxfDefaultLayerName(int layer) { return layer <= 0 ? "0" : "Layer" + std::to_string(layer); }

std::string DxfSettings::layerName(DxfItem i) const
{
    const int layer = item(i).layer;
    if (layer <= 0 || layer >= kDxfLayerCount)
        return "0";
    return layers[static_cast<size_t>(layer)].name;
}

std::string DxfSettings::activeRelease() const
{
    if (active < 0 || active >= static_cast<int>(releases.size()))
        return {};
    return releases[static_cast<size_t>(active)];
}

std::string dxfSettingsPath(const std::string& programFolder, engine::DataUse use)
{
    return engine::programDataPath(programFolder, "Config//velmdxf.xml", use);
}

bool loadDxfSettings(const std::string& path, DxfSettings& settings)
{
    return readDxfSettings(path, settings).ok();
}

engine::Status readDxfSettings(const std::string& path, DxfSettings& settings)
{
    pugi::xml_document doc;
    bool parsed = false;
    if (const engine::Status read = readDocument(path, doc, parsed); !read.ok())
        return engine::becauseOf(engine::Msg::DxfSettingsUnreadable, {path}, read);
    if (!parsed || !readSettingsTree(doc, settings))
        return engine::Status(engine::Msg::DxfSettingsUnreadable, {path});
    return {};
}

namespace {

bool readSettingsTree(const pugi::xml_document& doc, DxfSettings& settings)
{
    const pugi::xml_node root = doc.child("velm_dxf");
    if (!root)
        return false;
    settings.filePath = root.attribute("filepath").as_string();

    const pugi::xml_node layers = root.child("layers");
    if (!layers)
        return false;
    for (int i = 0; i < kDxfLayerCount; ++i) {
        const pugi::xml_node layer = nthChild(layers, "layer", i);
        const pugi::xml_node name = layer.child("name");
        std::int32_t colour = 0;
        if (!layer || !name || !readInt(layer, "color", colour) || colour < 1 || colour > 7)
            return false;
        settings.layers[static_cast<size_t>(i)].name = name.child_value();
        settings.layers[static_cast<size_t>(i)].colour = colour;
    }

    const pugi::xml_node items = root.child("items");
    if (!items)
        return false;
    for (int i = 0; i < kDxfItemCount; ++i) {
        const pugi::xml_node item = nthChild(items, "item", i);
        std::int32_t layer = 0;
        if (!item || !readInt(item, "layer", layer) || layer < 0 || layer >= kDxfLayerCount)
            return false;
        const pugi::xml_node output = item.child("output");
        if (!output)
            return false;
        std::int32_t on = 0;
        settings.items[static_cast<size_t>(i)].layer = layer;
        settings.items[static_cast<size_t>(i)].output = engine::parseInteger(output.child_value(), on) && on == 1;
    }

    const pugi::xml_node versions = root.child("versions");
    std::int32_t count = 0;
    if (!versions || !engine::parseInteger(versions.attribute("count").as_string(), count))
        return false;
    settings.releases.clear();
    for (int i = 0; i < count; ++i) {
        const pugi::xml_node name = nthChild(versions, "version", i).child("name");
        if (!name)
            return false;
        settings.releases.emplace_back(name.child_value());
    }
    std::int32_t active = 0;
    if (!engine::parseInteger(versions.attribute("active").as_string(), active))
        return false;
    settings.active = active;
    return true;
}

} // namespace

bool saveDxfSettings(const std::string& path, const DxfSettings& settings)
{
    pugi::xml_document doc;
    if (!loadDocument(path, doc))
        return false;
    pugi::xml_node root = doc.child("velm_dxf");
    if (!root)
        return false;
    pugi::xml_attribute filepath = root.attribute("filepath");
    if (!filepath)
        filepath = root.append_attribute("filepath");
    filepath.set_value(settings.filePath.c_str());

    // Every change is made in memory first, so a missing element leaves the file as it was.
    const pugi::xml_node layers = root.child("layers");
    for (int i = 0; i < kDxfLayerCount; ++i) {
        const pugi::xml_node layer = nthChild(layers, "layer", i);
        const DxfLayer& l = settings.layers[static_cast<size_t>(i)];
        if (!setText(layer.child("name"), l.name) || !setText(layer.child("color"), std::to_string(l.colour)))
            return false;
    }
    const pugi::xml_node items = root.child("items");
    for (int i = 0; i < kDxfItemCount; ++i) {
        const pugi::xml_node item = nthChild(items, "item", i);
        const DxfItemSetup& it = settings.items[static_cast<size_t>(i)];
        if (!setText(item.child("layer"), std::to_string(it.layer)) || !setText(item.child("output"), it.output ? "1" : "0"))
            return false;
    }
    pugi::xml_node versions = root.child("versions");
    if (!versions)
        return false;
    pugi::xml_attribute active = versions.attribute("active");
    if (!active)
        active = versions.append_attribute("active");
    active.set_value(std::to_string(settings.active).c_str());

    std::ostringstream text;
    doc.save(text, "\t", pugi::format_default, pugi::encoding_utf8);
    return engine::writeFileAtomically(path, text.str()).ok();
}

std::vector<std::string> fetchDxfTemplate(const std::string& path, int version, DxfTemplate which)
{
    pugi::xml_document doc;
    if (version < 0 || !loadDocument(path, doc))
        return {};
    const pugi::xml_node v = nthChild(doc.child("velm_dxf").child("versions"), "version", version);
    const char* name = which == DxfTemplate::Head ? "h1" : (which == DxfTemplate::Middle ? "h2" : "h3");
    const pugi::xml_node h = v.child(name);
    if (!h)
        return {};
    return splitTemplateLines(h.child_value());
}

std::vector<std::string> splitTemplateLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::string current;
    bool pending = false;  // characters since the last line break
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(current));
            current.clear();
            pending = false;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            current += c;
            pending = true;
        }
    }
    if (pending)
        lines.push_back(std::move(current));
    return lines;
}

} // namespace output
