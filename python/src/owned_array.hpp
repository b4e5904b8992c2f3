#pragma once
// numpy arrays over buffers the core filled: the vector moves into a capsule
// that the array keeps as its base, so the array owns the data and frees it
// with the last reference, without a copy.

#include <memory>
#include <utility>
#include <vector>

#include <pybind11/numpy.h>

namespace dot11b::python {

namespace py = pybind11;

template <typename T>
py::array_t<T> owned_array(std::vector<T>&& values, std::vector<py::ssize_t> shape) {
    auto held = std::make_unique<std::vector<T>>(std::move(values));
    const T* data = held->data();
    py::capsule owner(held.get(), [](void* p) { delete static_cast<std::vector<T>*>(p); });
    held.release();  // the capsule frees it from here on
    return py::array_t<T>(std::move(shape), data, owner);
}

template <typename T>
py::array_t<T> owned_array(std::vector<T>&& values) {
    const auto n = static_cast<py::ssize_t>(values.size());
    return owned_array(std::move(values), {n});
}

// The same array, no longer writeable: it shows data that others depend on.
inline py::array read_only(py::array array) {
    array.attr("flags").attr("writeable") = false;
    return array;
}

}  // namespace dot11b::python
