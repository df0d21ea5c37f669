#include "refdata/ReferenceErrorSink.h"

ReferenceErrorSink::~ReferenceErrorSink() = default;
