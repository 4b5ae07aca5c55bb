#include "surface/text.h"

namespace surface::detail {

void DrawText(Canvas&, int, int, const char*, int, bool, bool) {}

}  // namespace surface::detail
