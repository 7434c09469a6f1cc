#include "splitjoin/PartNaming.h"

#include <algorithm>

namespace {

// Offset of the file name inside a path.
std::size_t nameStart(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? 0 : slash + 1;
}

// Offset of the last dot of the file name, npos when the name has none.
std::size_t lastDot(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    return dot == std::string_view::npos || dot < nameStart(path) ? std::string_view::npos : dot;
}

} // namespace

std::string PartNaming::number(std::uint64_t index) {
    std::string digits = std::to_string(index);
    return digits.size() < 2 ? "0" + digits : digits;
}

std::string_view PartNaming::geoStem(std::string_view path) {
    const std::size_t dot = lastDot(path);
    const std::size_t stemEnd = dot == std::string_view::npos ? path.size() : dot;
    return path.substr(0, std::max(nameStart(path), stemEnd >= 2 ? stemEnd - 2 : 0));
}

std::string PartNaming::geoPartPath(std::string_view path, std::uint64_t index) {
    const std::size_t dot = lastDot(path);
    std::string part(geoStem(path));
    part += number(index);
    part += '.';
    if (dot != std::string_view::npos) part += path.substr(dot + 1);
    return part;
}

std::string PartNaming::geoPartZeroPath(std::string_view path, std::uint64_t index) {
    const std::size_t dot = lastDot(path);
    const std::size_t stemEnd = dot == std::string_view::npos ? path.size() : dot;
    const std::string digits = number(index);
    const std::string_view beforeDot = path.substr(nameStart(path), stemEnd - nameStart(path));
    if (digits.size() <= 2 || !beforeDot.ends_with(digits)) return geoPartPath(path, 0);
    // Keep two of the index's digits' places, so that the usual rule finds the same stem.
    std::string partZero(path.substr(0, stemEnd - digits.size()));
    partZero += "00";
    partZero += path.substr(stemEnd);
    return partZero;
}

std::string PartNaming::classicPartPath(std::string_view path, std::uint64_t index) {
    const std::size_t dot = lastDot(path);
    const std::size_t keep = dot == std::string_view::npos ? path.size() : std::min(dot + 2, path.size());
    return std::string(path.substr(0, keep)) + number(index);
}

std::string PartNaming::partPath(std::string_view path, std::uint64_t index, bool geo) {
    return geo ? geoPartPath(path, index) : classicPartPath(path, index);
}

std::string_view PartNaming::fileName(std::string_view path) {
    return path.substr(nameStart(path));
}

std::string_view PartNaming::folder(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) return {};
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

std::string PartNaming::join(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != '/') path += '/';
    path += name;
    return path;
}
