#include "services/core/PropListUtils.h"

#include "services/core/Error.h"
#include "services/core/File.h"
#include "services/core/FileUtils.h"

#include <pugixml.hpp>

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <sstream>

namespace kivcore::proplist::utils {
namespace {

constexpr std::string_view kMalformedKey =
    "$$$/kivcore/PropList/Error/Malformed=The property list is not valid: @0";
constexpr std::string_view kCannotReadKey =
    "$$$/kivcore/PropList/Error/CannotRead=The property list file \"@0\" could not be read: @1";

[[noreturn]] void Malformed(const std::string& why) {
  config::ThrowError(1, kMalformedKey, config::kCoreErrorCategory, config::kMalformedPropList, 1,
                     why);
}

// Element names, indexed by PropList::ValueType.
constexpr std::array<const char*, 13> kTypeNames = {
    "",      "string", "text",  "bool",  "int",     "flags", "float",
    "rect",  "ints",   "bools", "strings", "texts", "list"};

PropList::ValueType TypeFromName(std::string_view name) {
  for (std::size_t i = 1; i < kTypeNames.size(); ++i) {
    if (name == kTypeNames[i]) return static_cast<PropList::ValueType>(i);
  }
  return PropList::ValueType::None;
}

// --- encoding of single values -------------------------------------------------------

constexpr char kHexDigits[] = "0123456789abcdef";

std::string HexEncode(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out.push_back(kHexDigits[b >> 4]);
    out.push_back(kHexDigits[b & 15]);
  }
  return out;
}

std::string HexDecode(std::string_view hex, const std::string& what) {
  if (hex.size() % 2 != 0) Malformed(what + ": odd number of hex digits");
  std::string out;
  out.reserve(hex.size() / 2);
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(hex.data() + i, hex.data() + i + 2, value, 16);
    if (ec != std::errc() || end != hex.data() + i + 2) Malformed(what + ": bad hex digits");
    out.push_back(static_cast<char>(value));
  }
  return out;
}

bool NeedsHex(std::string_view s) {
  return s.find('\0') != std::string_view::npos || !IsValidUTF8(s);
}
bool NeedsHex(std::u16string_view s) {
  return s.find(u'\0') != std::u16string_view::npos || !IsValidUTF16(s);
}

// Writes s under attribute name, or as hex under name + "hex" when XML cannot carry it.
void WriteString(pugi::xml_node node, const char* name, std::string_view s) {
  if (NeedsHex(s)) {
    node.append_attribute((std::string(name) + "hex").c_str()) = HexEncode(s).c_str();
  } else {
    node.append_attribute(name) = std::string(s).c_str();
  }
}

void WriteText(pugi::xml_node node, std::u16string_view s) {
  if (!NeedsHex(s)) {
    node.append_attribute("v") = UTF16to8(s).c_str();
    return;
  }
  std::string units;  // big-endian code units
  for (const char16_t c : s) {
    units.push_back(static_cast<char>(c >> 8));
    units.push_back(static_cast<char>(c & 0xFF));
  }
  node.append_attribute("vhex") = HexEncode(units).c_str();
}

std::string FloatToText(float f) {
  std::array<char, 32> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), f);
  return std::string(buffer.data(), result.ptr);
}

template <typename List, typename Format>
std::string JoinNumbers(const List& list, Format format) {
  std::string out;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (i) out.push_back(' ');
    out += format(list[i]);
  }
  return out;
}

// --- writing ---------------------------------------------------------------------------

void WriteList(const PropList& list, pugi::xml_node parent);

void WriteValue(const PropList& list, const std::string& key, pugi::xml_node parent) {
  const PropList::ValueType type = list.GetValueType(key);
  pugi::xml_node node = parent.append_child(kTypeNames[static_cast<std::size_t>(type)]);
  WriteString(node, "k", key);
  auto toText = [](auto n) { return std::to_string(n); };
  using VT = PropList::ValueType;
  switch (type) {
    case VT::String: {
      std::string v;
      list.GetValue(key, v);
      WriteString(node, "v", v);
      break;
    }
    case VT::Text: {
      UTF16String v;
      list.GetValue(key, v);
      WriteText(node, v);
      break;
    }
    case VT::Bool: {
      bool v = false;
      list.GetValue(key, v);
      node.append_attribute("v") = v ? "true" : "false";
      break;
    }
    case VT::Int: {
      std::int32_t v = 0;
      list.GetValue(key, v);
      node.append_attribute("v") = toText(v).c_str();
      break;
    }
    case VT::Flags: {
      std::uint32_t v = 0;
      list.GetValue(key, v);
      node.append_attribute("v") = toText(v).c_str();
      break;
    }
    case VT::Float: {
      float v = 0;
      list.GetValue(key, v);
      node.append_attribute("v") = FloatToText(v).c_str();
      if (std::isnan(v)) {
        node.append_attribute("bits") = toText(std::bit_cast<std::uint32_t>(v)).c_str();
      }
      break;
    }
    case VT::Rect: {
      Rect r;
      list.GetValue(key, r);
      const std::array<int, 4> parts = {r.left, r.top, r.width, r.height};
      node.append_attribute("v") = JoinNumbers(parts, toText).c_str();
      break;
    }
    case VT::IntList: {
      PropList::IntList v;
      list.GetValue(key, v);
      node.append_attribute("v") = JoinNumbers(v, toText).c_str();
      break;
    }
    case VT::BoolList: {
      PropList::BoolList v;
      list.GetValue(key, v);
      node.append_attribute("v") =
          JoinNumbers(v, [](bool b) { return std::string(b ? "1" : "0"); }).c_str();
      break;
    }
    case VT::StringList: {
      PropList::StringList v;
      list.GetValue(key, v);
      for (const std::string& s : v) WriteString(node.append_child("s"), "v", s);
      break;
    }
    case VT::TextList: {
      PropList::TextList v;
      list.GetValue(key, v);
      for (const UTF16String& s : v) WriteText(node.append_child("t"), s);
      break;
    }
    case VT::SubList:
      WriteList(*list.GetSubList(key), node);
      break;
    case VT::None:
      break;
  }
}

void WriteList(const PropList& list, pugi::xml_node parent) {
  for (const std::string& key : list.GetKeys()) WriteValue(list, key, parent);
}

// --- reading ---------------------------------------------------------------------------

std::string Describe(pugi::xml_node node) {
  return std::string("<") + node.name() + " k=\"" + node.attribute("k").value() + "\">";
}

// The raw text of attribute name, or of name + "hex" (hex == true); null when neither.
const char* FindAttribute(pugi::xml_node node, const char* name, bool& hex) {
  const pugi::xml_attribute plain = node.attribute(name);
  const pugi::xml_attribute encoded = node.attribute((std::string(name) + "hex").c_str());
  hex = !plain && encoded;
  return plain ? plain.value() : encoded ? encoded.value() : nullptr;
}

pugi::xml_attribute RequiredValue(pugi::xml_node node) {
  pugi::xml_attribute v = node.attribute("v");
  if (!v) Malformed(Describe(node) + " has no value");
  return v;
}

// The 8-bit string under attribute name (plain or hex).
std::string ReadString(pugi::xml_node node, const char* name, const char* missing) {
  bool hex = false;
  const char* v = FindAttribute(node, name, hex);
  if (!v) Malformed(Describe(node) + missing);
  return hex ? HexDecode(v, Describe(node)) : std::string(v);
}

template <typename Number>
Number ParseNumber(std::string_view text, pugi::xml_node node) {
  const auto n = StringToNumber<Number>(text);
  if (!n) Malformed(Describe(node) + ": \"" + std::string(text) + "\" is not a valid number");
  return *n;
}

template <typename Number>
std::vector<Number> ParseNumbers(std::string_view text, pugi::xml_node node) {
  std::vector<Number> out;
  std::istringstream in{std::string(text)};
  std::string item;
  while (in >> item) out.push_back(ParseNumber<Number>(item, node));
  return out;
}

UTF16String ReadText(pugi::xml_node node) {
  bool hex = false;
  const char* v = FindAttribute(node, "v", hex);
  if (!v) Malformed(Describe(node) + " has no value");
  if (!hex) return UTF8to16(v);
  const std::string units = HexDecode(v, Describe(node));
  if (units.size() % 2 != 0) Malformed(Describe(node) + ": odd number of bytes for UTF-16");
  UTF16String out;
  for (std::size_t i = 0; i < units.size(); i += 2) {
    out.push_back(static_cast<char16_t>((static_cast<unsigned char>(units[i]) << 8) |
                                        static_cast<unsigned char>(units[i + 1])));
  }
  return out;
}

void ReadList(pugi::xml_node parent, PropList& out);

void ReadValue(pugi::xml_node node, PropList& out) {
  const std::string key = ReadString(node, "k", " has no key");
  if (out.HasValue(key)) Malformed("the key \"" + key + "\" appears twice");
  using VT = PropList::ValueType;
  switch (TypeFromName(node.name())) {
    case VT::String:
      out.SetValue(key, std::string_view(ReadString(node, "v", " has no value")));
      break;
    case VT::Text:
      out.SetValue(key, std::u16string_view(ReadText(node)));
      break;
    case VT::Bool: {
      const std::string_view v = RequiredValue(node).value();
      if (v != "true" && v != "false") Malformed(Describe(node) + ": not true or false");
      out.SetValue(key, v == "true");
      break;
    }
    case VT::Int:
      out.SetValue(key, ParseNumber<std::int32_t>(RequiredValue(node).value(), node));
      break;
    case VT::Flags:
      out.SetValue(key, ParseNumber<std::uint32_t>(RequiredValue(node).value(), node));
      break;
    case VT::Float: {
      float f = 0;
      if (pugi::xml_attribute bits = node.attribute("bits")) {
        f = std::bit_cast<float>(ParseNumber<std::uint32_t>(bits.value(), node));
      } else {
        f = ParseNumber<float>(RequiredValue(node).value(), node);
      }
      out.SetValue(key, f);
      break;
    }
    case VT::Rect: {
      const auto parts = ParseNumbers<int>(RequiredValue(node).value(), node);
      if (parts.size() != 4) Malformed(Describe(node) + ": a rectangle needs four numbers");
      out.SetValue(key, Rect{parts[0], parts[1], parts[2], parts[3]});
      break;
    }
    case VT::IntList:
      out.SetValue(key, ParseNumbers<std::int32_t>(RequiredValue(node).value(), node));
      break;
    case VT::BoolList: {
      PropList::BoolList bools;
      for (int b : ParseNumbers<int>(RequiredValue(node).value(), node)) {
        if (b != 0 && b != 1) Malformed(Describe(node) + ": a boolean must be 0 or 1");
        bools.push_back(b == 1);
      }
      out.SetValue(key, std::move(bools));
      break;
    }
    case VT::StringList: {
      PropList::StringList strings;
      for (pugi::xml_node item : node.children()) {
        if (item.type() != pugi::node_element || std::string_view(item.name()) != "s") {
          Malformed(Describe(node) + ": unexpected content");
        }
        strings.push_back(ReadString(item, "v", " has an item without value"));
      }
      out.SetValue(key, std::move(strings));
      break;
    }
    case VT::TextList: {
      PropList::TextList texts;
      for (pugi::xml_node item : node.children()) {
        if (item.type() != pugi::node_element || std::string_view(item.name()) != "t") {
          Malformed(Describe(node) + ": unexpected content");
        }
        texts.push_back(ReadText(item));
      }
      out.SetValue(key, std::move(texts));
      break;
    }
    case VT::SubList:
      ReadList(node, out.NewSubList(key));
      break;
    case VT::None:
      Malformed(std::string("unknown value type <") + node.name() + ">");
  }
}

void ReadList(pugi::xml_node parent, PropList& out) {
  for (pugi::xml_node child : parent.children()) {
    if (child.type() == pugi::node_comment) continue;
    if (child.type() != pugi::node_element) {
      Malformed("unexpected text in <" + std::string(parent.name()) + ">");
    }
    ReadValue(child, out);
  }
}

}  // namespace

std::string WritePropListXML(const PropList& list, bool asFile) {
  pugi::xml_document doc;
  if (asFile) {
    pugi::xml_node decl = doc.append_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    decl.append_attribute("encoding") = "UTF-8";
  }
  pugi::xml_node root = doc.append_child("proplist");
  WriteList(list, root);
  std::ostringstream out;
  const unsigned flags = asFile ? pugi::format_indent : (pugi::format_raw | pugi::format_no_declaration);
  doc.save(out, "  ", flags, pugi::encoding_utf8);
  return out.str();
}

PropList ReadPropList(std::string_view xml) {
  pugi::xml_document doc;
  // Keep attribute text exactly as written; only character references are expanded.
  const unsigned options = pugi::parse_escapes | pugi::parse_comments | pugi::parse_declaration;
  const pugi::xml_parse_result parsed =
      doc.load_buffer(xml.data(), xml.size(), options, pugi::encoding_utf8);
  if (!parsed) {
    Malformed(std::string(parsed.description()) + " at offset " + std::to_string(parsed.offset));
  }
  pugi::xml_node root = doc.document_element();
  if (std::string_view(root.name()) != "proplist") {
    Malformed(root ? "the root element is <" + std::string(root.name()) + ">, not <proplist>"
                   : std::string("the document is empty"));
  }
  PropList list;
  ReadList(root, list);
  return list;
}

PropList LoadPropList(const filesupport::File& file) {
  std::string bytes;
  try {
    bytes = filesupport::FileUtils::ReadWholeFile(file);
  } catch (const config::Error& e) {
    config::ThrowError(1, kCannotReadKey, config::kCoreErrorCategory, config::kCannotReadFile, 1,
                       file.GetFullPath(), std::string(e.what()));
  }
  try {
    return ReadPropList(bytes);
  } catch (const config::Error& e) {
    config::ThrowError(1, kCannotReadKey, config::kCoreErrorCategory, config::kMalformedPropList,
                       1, file.GetFullPath(), std::string(e.what()));
  }
}

void SavePropList(const PropList& list, const filesupport::File& file) {
  filesupport::FileUtils::WriteFileAtomically(file, WritePropListXML(list, /*asFile=*/true));
}

}  // namespace kivcore::proplist::utils
