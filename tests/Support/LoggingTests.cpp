#include "Support/Logging.hpp"

#include <gtest/gtest.h>
#include <source_location>

namespace velmora {
namespace {

struct SignatureCase {
    const char* compilerName; // as g++ 12 writes std::source_location::function_name()
    const char* expected;
};

TEST(FunctionSignature, DropsReturnTypeQualificationAndNamespacesFromGccNames) {
    const SignatureCase cases[] = {
        {"void velmora::LockEngine::start()", "start()"},
        {"void velmora::LockEngine::handleStateTransition(const velmora::LockTransitionResult&)",
         "handleStateTransition(const LockTransitionResult&)"},
        {"bool velmora::Engine::isLocked(const std::string&, int) const",
         "isLocked(const std::string&, int)"},
        {"static std::shared_ptr<velmora::Engine> velmora::Engine::shared()", "shared()"},
        {"velmora::Engine::~Engine()", "~Engine()"},
        {"int velmora::{anonymous}::helper(int)", "helper(int)"},
        {"void velmora::Engine::local()::L::m()", "m()"},
        // Parameter lists with parentheses and brackets of their own.
        {"void velmora::Engine::arr(const char*, int (&)[3])", "arr(const char*, int (&)[3])"},
        {"void velmora::Engine::fptr(void (*)(int))", "fptr(void (*)(int))"},
        {"void velmora::Engine::cb(std::function<void(int)>)", "cb(std::function<void(int)>)"},
        {"std::optional<std::__cxx11::basic_string<char> > velmora::Engine::find("
         "const std::vector<std::__cxx11::basic_string<char> >&, "
         "std::map<std::__cxx11::basic_string<char>, int>)",
         "find(const std::vector<std::string>&, std::map<std::string, int>)"},
        // A template.
        {"void velmora::Engine::put(T) [with T = std::__cxx11::basic_string<char>]", "put(T)"},
        // Operators.
        {"void velmora::Engine::operator()(int)", "operator()(int)"},
        {"bool velmora::Engine::operator<(const velmora::Engine&) const",
         "operator<(const Engine&)"},
        {"velmora::Engine::operator bool() const", "operator bool()"},
        // Lambdas report the function they are written in.
        {"velmora::Engine::lambda()::<lambda()>", "lambda()"},
        {"velmora::E::operator()(int) const::<lambda()>", "operator()(int)"},
        // A lambda outside any function has only itself to show.
        {"velmora::<lambda()>", "<lambda()>"},
    };
    for (const SignatureCase& c : cases) {
        EXPECT_EQ(functionSignature(c.compilerName), c.expected) << c.compilerName;
    }
}

struct Probe {
    std::string method(int) const {
        return functionSignature(std::source_location::current().function_name());
    }
    std::string fromLambda() {
        return [] { return functionSignature(std::source_location::current().function_name()); }();
    }
};

TEST(FunctionSignatureOfThisCompiler, MatchesWhatCallSitesReport) {
    EXPECT_EQ(Probe{}.method(1), "method(int)");
    EXPECT_EQ(Probe{}.fromLambda(), "fromLambda()");
}

} // namespace
} // namespace velmora
