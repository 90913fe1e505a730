#pragma once
// A saved layout read by a host whose panel set changed: the panels it names that the host
// does not have (yet) become closed panels where they were, so that the frame they were in,
// or a placeholder when nothing of it is left, keeps their place for when the host adds them.

#include <functional>
#include <string>
#include <vector>

namespace kivcore {
class PropList;
}

namespace kivworkspace::qtwidgets {

// Turns every open panel of `definition` whose id `known` refuses into a closed-panel record
// of its frame, with its state; returns the ids turned, each once, in the order found.
std::vector<std::string> KeepPlacesOfUnknownPanels(
    kivcore::PropList& definition, const std::function<bool(const std::string&)>& known);

}  // namespace kivworkspace::qtwidgets
