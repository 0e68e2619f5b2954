#include "model/ConfigYaml.h"

#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"
#include "model/ConfigBuilder.h"
#include "model/ConfigRawBytes.h"
#include "model/ConfigReader.h"
#include "model/ConfigWriter.h"
#include "model/DecimalSeparatorScope.h"

#include <algorithm>

namespace vpr {

namespace {

constexpr int kTextTooLarge = 10066002;
constexpr int kTextNotText = 10066003;
constexpr int kTextEmpty = 10066035;

} // namespace

std::string ConfigYaml::exportImage(const RadioImage& image) {
  const DecimalSeparatorScope dot('.');
  ConfigDocument doc = ConfigDocument::fromImage(image);
  ConfigRawBytes::apply(image, doc);
  return ConfigWriter::write(doc);
}

ConfigYaml::Result ConfigYaml::importText(std::string_view text) {
  const DecimalSeparatorScope dot('.');
  Result result;
  auto& problems = result.problems;
  if (text.size() > kMaxDocumentSize) {
    problems.push_back({0, formatText(textOf(kTextTooLarge), {int(kMaxDocumentSize)})});
    return result;
  }
  if (text.find('\0') != std::string_view::npos) {
    const auto line = std::count(text.begin(), text.begin() + text.find('\0'), '\n') + 1;
    problems.push_back({int(line), textOf(kTextNotText)});
    return result;
  }
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
    problems.push_back({0, textOf(kTextEmpty)});
    return result;
  }

  const std::optional<ConfigDocument> doc = ConfigReader::read(std::string(text), problems);
  if (!doc) return result;
  const RadioImage image = ConfigBuilder(*doc, problems).build();
  if (problems.empty()) result.image = image;
  return result;
}

} // namespace vpr
