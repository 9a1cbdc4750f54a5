#include "errors/report.h"

#include <mutex>
#include <utility>

#include "znException.h"
#include "platform/win32api.h"

namespace {

// Managers on several threads may report at once while the host changes the route.
std::mutex routeMutex;
zn::ReportRoute currentRoute;

zn::ReportRoute route() {
    std::lock_guard<std::mutex> lock(routeMutex);
    return currentRoute;
}

} // namespace

namespace zn {

void setReportRoute(ReportRoute next) {
    std::lock_guard<std::mutex> lock(routeMutex);
    currentRoute = std::move(next);
}

void report(const char* caption, const char* text, unsigned int style) {
    try {
        if (const ReportRoute handler = route()) {
            handler(caption, text, style);
            return;
        }
    } catch (...) {
        // A report cannot fail where it is made: a handler that throws has seen the report.
        return;
    }
    reportBox(text, caption, style);
}

} // namespace zn

void znSetReportHandler(znReportHandler handler, void* user) {
    zn::routeReportsTo(handler, user);
}
