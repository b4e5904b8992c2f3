#include "json_objects.hpp"

namespace dot11b::python {

namespace py = pybind11;

py::object python_object(const nlohmann::ordered_json& document) {
    return py::module_::import("json").attr("loads")(document.dump());
}

py::list python_list(const std::vector<nlohmann::ordered_json>& documents) {
    py::list list;
    for (const auto& document : documents) list.append(python_object(document));
    return list;
}

}  // namespace dot11b::python
