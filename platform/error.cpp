#include "platform/error.h"

#include <string>

namespace platform {

namespace {

class Category final : public std::error_category {
public:
    const char* name() const noexcept override { return "tilgomat"; }
    std::string message(int value) const override {
        return static_cast<Error>(value) == Error::NotListed ? "not the listed file"
                                                             : "unknown error";
    }
};

} // namespace

const std::error_category& errorCategory() {
    static const Category category;
    return category;
}

} // namespace platform
