#pragma once

/// The heap of a program that runs briefly over large data and ends: the COBOL tools, each run
/// once per source.
namespace ProcessHeap {

/// Makes malloc keep the memory a program frees and serve large blocks from the heap instead of
/// fresh mappings, so that a buffer freed and a buffer made next reuse the same pages: otherwise
/// every large buffer is mapped anew, and its pages are faulted in again one by one, which costs
/// the tools about as much time as their work. The heap's address space is reserved at once, and
/// above its first 8 MiB the kernel is asked for transparent huge pages: a large run then takes
/// one page fault per 2 MiB instead of one per 4 KiB, while a small run keeps ordinary pages.
/// Memory is given back when the program ends. Call it first thing in main(), before any other
/// thread starts; it changes nothing but speed.
void keepFreedMemory();

/// Gives the pages of the memory freed so far back to the system, for a program that frees a
/// large structure before it makes the next one. After keepFreedMemory, the heap keeps its
/// reserved address space and only the pages go back; call it then only while no other thread
/// allocates.
void returnFreeMemory();

} // namespace ProcessHeap
