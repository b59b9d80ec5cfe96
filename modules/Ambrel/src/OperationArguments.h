#ifndef AMBREL_OPERATION_ARGUMENTS_H
#define AMBREL_OPERATION_ARGUMENTS_H

// The named values that go with one plug-in notification. Each operation
// takes out what its entry needs, by key and exact type:
//   "QorvCallbacks1"  const QorvCallbacks1*  the instance's callback table
//   "time"            double                 the step's communication point
//   "timeIncr"        double                 the step's size
//   "Task"            Task*                  the task of the task run
//   "QorvCallbacks2"  const QorvCallbacks2*  read by version-2 visits only

#include <any>
#include <map>
#include <string>

using OperationArguments = std::map<std::string, std::any>;

inline constexpr const char* kCallbacks1Argument = "QorvCallbacks1";
inline constexpr const char* kCallbacks2Argument = "QorvCallbacks2";
inline constexpr const char* kTimeArgument = "time";
inline constexpr const char* kTimeIncrArgument = "timeIncr";
inline constexpr const char* kTaskArgument = "Task";

#endif
