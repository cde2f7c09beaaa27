#pragma once

/// The heap of a program that runs briefly over large data and ends: the COBOL tools, each run
/// once per source.
namespace ProcessHeap {

/// Makes malloc keep the memory a program frees and serve large blocks from the heap instead of
/// fresh mappings, so that a buffer freed and a buffer made next reuse the same pages: otherwise
/// every large buffer is mapped anew, and its pages are faulted in again one by one, which costs
/// the tools about as much time as their work. Memory is given back when the program ends. Call
/// it first thing in main(); it changes nothing but speed.
void keepFreedMemory();

} // namespace ProcessHeap
