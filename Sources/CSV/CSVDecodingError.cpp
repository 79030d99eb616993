#include "CSV/CSVDecodingError.h"

namespace csv {

DecodingError DecodingError::typeMismatch(std::string type, Context context)
{
    DecodingError error(Kind::typeMismatch, std::move(context));
    error.type_ = std::move(type);
    return error;
}

DecodingError DecodingError::valueNotFound(std::string type, Context context)
{
    DecodingError error(Kind::valueNotFound, std::move(context));
    error.type_ = std::move(type);
    return error;
}

DecodingError DecodingError::keyNotFound(CodingKey key, Context context)
{
    DecodingError error(Kind::keyNotFound, std::move(context));
    error.key_ = std::move(key);
    return error;
}

DecodingError DecodingError::dataCorrupted(Context context)
{
    return DecodingError(Kind::dataCorrupted, std::move(context));
}

} // namespace csv
