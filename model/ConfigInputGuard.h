#pragma once
// Watches the parser's events ahead of loading a configuration document and stops at what no
// configuration needs: nesting deeper than kMaxDepth, more than kMaxNodes nodes, anchors and
// aliases (a document built to exhaust memory or the stack). It reads nothing of the document.

#include <yaml-cpp/eventhandler.h>

#include <cstddef>
#include <string>

namespace vpr {

class ConfigInputGuard : public YAML::EventHandler {
public:
  static constexpr int kMaxDepth = 8;
  static constexpr std::size_t kMaxNodes = 20000;

  // Thrown from the parser's callback: the line (1-based) and the reason.
  struct Stop {
    int line;
    std::string reason;
  };

  void OnDocumentStart(const YAML::Mark&) override {}
  void OnDocumentEnd() override {}
  void OnNull(const YAML::Mark& mark, YAML::anchor_t anchor) override { node(mark, anchor); }
  void OnAlias(const YAML::Mark& mark, YAML::anchor_t) override;
  void OnScalar(const YAML::Mark& mark, const std::string&, YAML::anchor_t anchor,
                const std::string&) override {
    node(mark, anchor);
  }
  void OnSequenceStart(const YAML::Mark& mark, const std::string&, YAML::anchor_t anchor,
                       YAML::EmitterStyle::value) override {
    open(mark, anchor);
  }
  void OnSequenceEnd() override { --depth_; }
  void OnMapStart(const YAML::Mark& mark, const std::string&, YAML::anchor_t anchor,
                  YAML::EmitterStyle::value) override {
    open(mark, anchor);
  }
  void OnMapEnd() override { --depth_; }

private:
  void node(const YAML::Mark& mark, YAML::anchor_t anchor);
  void open(const YAML::Mark& mark, YAML::anchor_t anchor);

  int depth_ = 0;
  std::size_t nodes_ = 0;
};

} // namespace vpr
