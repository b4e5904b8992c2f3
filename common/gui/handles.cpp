#include "common/gui/handles.hpp"

#include <map>

#include <QObject>
#include <QPointer>

namespace dot11b::gui {
namespace {

struct HandleTable {
    std::map<double, QPointer<QObject>> objects;
    std::map<const QObject*, double> numbers;
    double next = 1;
};

HandleTable& table() {
    static HandleTable instance;
    return instance;
}

}  // namespace

double handle_of(QObject* object) {
    HandleTable& t = table();
    if (const auto found = t.numbers.find(object); found != t.numbers.end()) return found->second;
    const double handle = t.next++;
    t.objects[handle] = object;
    t.numbers[object] = handle;
    QObject::connect(object, &QObject::destroyed, [handle](QObject* gone) {
        table().objects.erase(handle);
        table().numbers.erase(gone);
    });
    return handle;
}

QObject* object_of(double handle) {
    const HandleTable& t = table();
    const auto found = t.objects.find(handle);
    return found == t.objects.end() ? nullptr : found->second.data();
}

}  // namespace dot11b::gui
