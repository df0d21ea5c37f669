#pragma once

class CalcOutcome;

// The exit statuses of pipecalc-cli, as its help and manual page list them.
namespace ExitCode {

constexpr int Success = 0;
// A wrong command line.
constexpr int Usage = 2;
// How a calculation ended (see of()).
constexpr int Stopped = 3;
constexpr int DivisionByZero = 4;
constexpr int Fault = 5;
// The reference database cannot be opened or one of its tables read.
constexpr int Database = 6;
// A report template is missing or cannot be read.
constexpr int Template = 7;
// A document to convert cannot be read.
constexpr int CannotRead = 8;
// An output file (a report, a chart, a converted document, a project) was
// not written.
constexpr int CannotWrite = 9;
// A project file cannot be opened.
constexpr int ProjectFile = 10;

// The status of a calculation that ended so: Success when it completed.
int of(const CalcOutcome &outcome);

} // namespace ExitCode
