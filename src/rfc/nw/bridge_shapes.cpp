#include "rfc/nw/bridge.h"

namespace tw::nw {

Shape shape_of(const std::vector<rfclib::InstalledStructure>& structures, const std::string& name,
               RFC_TYPEHANDLE type, unsigned length) {
  Shape shape{name, false, {}, length};
  if (const rfclib::InstalledStructure* structure = rfclib::find_structure(structures, type)) {
    shape.structure = true;
    unsigned total = 0;
    shape.fields.reserve(structure->elements.size());
    for (const auto& element : structure->elements) {
      shape.fields.push_back({element.name, element.type == TYPINT, element.length});
      total += element.length;
    }
    if (shape.length == 0) shape.length = total;
    return shape;
  }
  if (type == TYPINT && shape.length == 0) shape.length = 4;
  shape.fields.push_back({name, type == TYPINT, shape.length});
  return shape;
}

}  // namespace tw::nw
