// The command-line tool run in a given folder as a user runs it: exit code, standard output and error.
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

struct ToolRun {
    int code;
    std::string out;
    std::string err;
};

inline std::string Slurp(std::filesystem::path const& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One argument for the shell, as it stands.
inline std::string Quote(std::string const& a)
{
    std::string quoted = "'";
    for (char c : a) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs `kelatom ARGS` in `dir`, ARGS as a shell would split them.
inline ToolRun RunTool(std::filesystem::path const& dir, std::string const& args)
{
    std::string const command = "cd '" + dir.string() + "' && '" KELATOM_PATH "' " + args + " >stdout 2>stderr";
    int const status = std::system(command.c_str());
    return ToolRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(dir / "stdout"), Slurp(dir / "stderr")};
}

// Runs the tool with each argument as it stands.
inline ToolRun RunTool(std::filesystem::path const& dir, std::vector<std::string> const& args)
{
    std::string line;
    for (auto const& a : args) line += " " + Quote(a);
    return RunTool(dir, line);
}
