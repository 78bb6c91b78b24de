#include "editor/core/Param.h"

namespace Brisel {

Param::~Param() = default;

PatchParam::PatchParam(int id, Byte *image) : m_id(id), m_image(image) {}

PatchParam::~PatchParam() = default;

} // namespace Brisel
