#include "PathNames.h"

#include <filesystem>
#include <system_error>

namespace PathNames {

std::string join(std::string_view directory, std::string_view name)
{
    std::string result(directory);
    if (!result.empty() && result.back() != separator)
        result += separator;
    result += name;
    return result;
}

std::string fileName(std::string_view path)
{
    const auto pos = path.rfind(separator);
    return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string directory(std::string_view path)
{
    const auto pos = path.rfind(separator);
    if (pos == std::string_view::npos)
        return {};
    if (pos == 0)
        return std::string(1, separator);
    return std::string(path.substr(0, pos));
}

std::string baseName(std::string_view path)
{
    std::string name = fileName(path);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

std::string withoutTrailingSeparators(std::string_view path)
{
    while (path.size() > 1 && path.back() == separator)
        path.remove_suffix(1);
    return std::string(path);
}

std::string replaceExtension(std::string_view path, std::string_view extension)
{
    const auto slash = path.rfind(separator);
    const auto dot = path.rfind('.');
    std::string result(path);
    if (dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash))
        result.erase(dot);
    result += extension;
    return result;
}

std::string absolute(std::string_view path)
{
    if (path.empty())
        return {};
    std::error_code error;
    std::filesystem::path result = std::filesystem::absolute(std::filesystem::path(path), error);
    if (error)
        result = std::filesystem::path(path);
    return withoutTrailingSeparators(result.lexically_normal().string());
}

} // namespace PathNames
