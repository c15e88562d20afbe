// RfcGetFunctionName, RfcGetParameterCount, RfcGetParameterDescByIndex and
// RfcGetParameterDescByName: what a function's interface holds.
#include <iterator>

#include "describe_element.h"
#include "sapnwrfc.h"
#include "text.h"

using tw::nwrfclib::FunctionDesc;

/*
 * The function's name, zero-terminated.
 */
extern "C" RFC_RC SAP_API RfcGetFunctionName(RFC_FUNCTION_DESC_HANDLE funcDesc,
                                             RFC_ABAP_NAME bufferForName,
                                             RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return with_description(find_function_desc(funcDesc), "function description", errorInfo,
                          [&](const FunctionDesc& function) {
                            copy_text(bufferForName, std::size(RFC_ABAP_NAME{}), function.name);
                            return succeed(errorInfo);
                          });
}

/*
 * The number of parameters.
 */
extern "C" RFC_RC SAP_API RfcGetParameterCount(RFC_FUNCTION_DESC_HANDLE funcDesc,
                                               unsigned* count, RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return with_description(find_function_desc(funcDesc), "function description", errorInfo,
                          [&](const FunctionDesc& function) {
                            if (count != nullptr)
                              *count = static_cast<unsigned>(function.parameters.size());
                            return succeed(errorInfo);
                          });
}

/*
 * The parameter at `index` (from 0); RFC_INVALID_PARAMETER past the last.
 */
extern "C" RFC_RC SAP_API RfcGetParameterDescByIndex(RFC_FUNCTION_DESC_HANDLE funcDesc,
                                                     unsigned index,
                                                     RFC_PARAMETER_DESC* paramDesc,
                                                     RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return with_description(find_function_desc(funcDesc), "function description", errorInfo,
                          [&](const FunctionDesc& function) {
                            return give_record(element_at(function.parameters, index),
                                               "parameter", "number " + std::to_string(index),
                                               paramDesc, errorInfo);
                          });
}

/*
 * The parameter of that name (letter case of a to z ignored); RFC_INVALID_PARAMETER when
 * there is none.
 */
extern "C" RFC_RC SAP_API RfcGetParameterDescByName(RFC_FUNCTION_DESC_HANDLE funcDesc,
                                                    SAP_UC const* name,
                                                    RFC_PARAMETER_DESC* paramDesc,
                                                    RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return with_description(find_function_desc(funcDesc), "function description", errorInfo,
                          [&](const FunctionDesc& function) {
                            return give_record(find_element(function.parameters, text_of(name)),
                                               "parameter", "'" + to_utf8(text_of(name)) + "'",
                                               paramDesc, errorInfo);
                          });
}
