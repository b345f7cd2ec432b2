# Every C++ example in README.md and docs/*.md, built against the library. A block that
# defines main is a complete program: it is built and run as a test (label docs) in a
# fresh folder, so that the files it makes on SQLite start anew. Any other block must be
# fenced as "```cpp fragment": it is built inside a main that first opens an SQLite
# database in memory and makes `db`, `tom`, `runner` and `oid`, as the text around such a
# block assumes; its #include lines go to the top. A fragment that does not compile fails
# the build; a block that is neither stops the configuration.
set(doc_files ${PROJECT_SOURCE_DIR}/README.md)
file(GLOB doc_pages CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/*.md)
list(APPEND doc_files ${doc_pages})
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${doc_files})

set(doc_out ${CMAKE_CURRENT_BINARY_DIR}/doc-snippets)
file(REMOVE_RECURSE ${doc_out})
file(MAKE_DIRECTORY ${doc_out})
set(doc_prelude [=[
#include "admin/keldatom.hpp"
#include "admin/keldatxn.hpp"
#include "db/keldb.hpp"
#include "db/keldbexc.hpp"
#include "kernel/kelkexc.hpp"
#include "kernel/kelktrc.hpp"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

int main()
{
    std::unique_ptr<KelDatabase> db = KelDatabase::Open("sqlite::memory:");
    db->CreateSchema();
    KelTOMForAdminServer tom(*db);
    KelTxnRunner runner(tom);
    KelOID oid = KelOID::Generate();
    (void)runner;
    (void)oid;
    {
]=])

foreach(doc ${doc_files})
  get_filename_component(doc_name ${doc} NAME_WE)
  file(READ ${doc} text)
  # Semicolons and brackets would split or join CMake list items: stand-ins until written.
  string(REPLACE ";" "@KSEMI@" text "${text}")
  string(REPLACE "[" "@KLB@" text "${text}")
  string(REPLACE "]" "@KRB@" text "${text}")
  string(REGEX MATCHALL "```cpp[^\n]*\n[^`]*```" blocks "${text}")
  set(index 0)
  foreach(block ${blocks})
    math(EXPR index "${index} + 1")
    string(REGEX MATCH "^```cpp([^\n]*)\n" head "${block}")
    string(STRIP "${CMAKE_MATCH_1}" kind)
    string(REGEX REPLACE "^```cpp[^\n]*\n" "" code "${block}")
    string(REGEX REPLACE "```$" "" code "${code}")
    string(REPLACE "@KSEMI@" ";" code "${code}")
    string(REPLACE "@KLB@" "[" code "${code}")
    string(REPLACE "@KRB@" "]" code "${code}")
    set(target doc_${doc_name}_${index})
    set(source ${doc_out}/${target}.cpp)
    if(code MATCHES "int main\\(")
      file(WRITE ${source} "${code}")
      add_executable(${target} ${source})
      target_link_libraries(${target} PRIVATE keldatom)
      add_test(NAME docs.${doc_name}.${index}
               COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${target}> -DFOLDER=${doc_out}/run_${target}
                       -P ${CMAKE_CURRENT_SOURCE_DIR}/docs/run_snippet.cmake)
      set_tests_properties(docs.${doc_name}.${index} PROPERTIES LABELS docs)
    elseif(kind STREQUAL "fragment")
      string(REGEX MATCHALL "#include[^\n]*" includes "${code}")
      string(REGEX REPLACE "#include[^\n]*\n" "" body "${code}")
      string(JOIN "\n" includes ${includes})
      file(WRITE ${source} "${includes}\n${doc_prelude}${body}    }\n}\n")
      add_executable(${target} ${source})
      target_link_libraries(${target} PRIVATE keldatom)
      # Built with the tests, never run: a fragment is not a whole program.
      add_dependencies(test_docs ${target})
    else()
      message(FATAL_ERROR "${doc}: C++ example ${index} is neither a program (main) nor fenced as ```cpp fragment")
    endif()
  endforeach()
endforeach()
