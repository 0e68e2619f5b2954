#pragma once
// The one document shared by the editing views. It carries no data: the radio image lives in
// the data model, and the views read and write it there.

namespace vpr {

class CRPSDoc {
public:
  CRPSDoc() = default;
  CRPSDoc(const CRPSDoc&) = delete;
  CRPSDoc& operator=(const CRPSDoc&) = delete;
};

} // namespace vpr
