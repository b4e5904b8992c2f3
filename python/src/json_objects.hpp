#pragma once
// JSON documents of the tools as Python objects, by Python's own JSON reader,
// so that a dict holds exactly what the tool prints.

#include <vector>

#include <nlohmann/json.hpp>
#include <pybind11/pybind11.h>

namespace dot11b::python {

pybind11::object python_object(const nlohmann::ordered_json& document);
pybind11::list python_list(const std::vector<nlohmann::ordered_json>& documents);

}  // namespace dot11b::python
