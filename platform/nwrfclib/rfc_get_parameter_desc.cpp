// RfcGetFunctionName, RfcGetParameterCount, RfcGetParameterDescByIndex and
// RfcGetParameterDescByName: what a function's interface holds.
#include "describe_element.h"
#include "sapnwrfc.h"

/*
 * The function's name, zero-terminated.
 */
extern "C" RFC_RC SAP_API RfcGetFunctionName(RFC_FUNCTION_DESC_HANDLE funcDesc,
                                             RFC_ABAP_NAME bufferForName,
                                             RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return give_name(find_function_desc(funcDesc), "function description", bufferForName,
                   errorInfo);
}

/*
 * The number of parameters.
 */
extern "C" RFC_RC SAP_API RfcGetParameterCount(RFC_FUNCTION_DESC_HANDLE funcDesc,
                                               unsigned* count, RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return give_count(find_function_desc(funcDesc), "function description", count, errorInfo);
}

/*
 * The parameter at `index` (from 0); RFC_INVALID_PARAMETER past the last.
 */
extern "C" RFC_RC SAP_API RfcGetParameterDescByIndex(RFC_FUNCTION_DESC_HANDLE funcDesc,
                                                     unsigned index,
                                                     RFC_PARAMETER_DESC* paramDesc,
                                                     RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return give_element_at(find_function_desc(funcDesc), "function description", "parameter",
                         index, paramDesc, errorInfo);
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
  return give_element_named(find_function_desc(funcDesc), "function description", "parameter",
                            name, paramDesc, errorInfo);
}
