#pragma once

namespace twk {

class Navigator;

// Installs every page the program has into the navigator, and the report page's caption hook.
void registerPages(Navigator& navigator);

}  // namespace twk
