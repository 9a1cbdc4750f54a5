// Where the library's reports go: the host's report handler when it set one, else a box.
#pragma once

#include <functional>

namespace zn {

using ReportRoute = std::function<void(const char* caption, const char* text, unsigned int style)>;

// Replaces the process-wide route; an empty one brings the boxes back.
void setReportRoute(ReportRoute route);
// Routes reports to a host's handler(user, caption, text, style); a null one brings the boxes
// back. Serves the C++ and the C handler types alike.
template <class Handler> void routeReportsTo(Handler handler, void* user) {
    if (!handler) {
        setReportRoute(nullptr);
        return;
    }
    setReportRoute([handler, user](const char* caption, const char* text, unsigned int style) {
        handler(user, caption, text, style);
    });
}

// Hands one report to the route, or shows it in a box with no owner window. Throws nothing.
void report(const char* caption, const char* text, unsigned int style);

} // namespace zn
