#include "pages/app/page_registry.h"

#include "pages/app/navigator.h"

namespace twk {

void registerPages(Navigator&) {}

}  // namespace twk
