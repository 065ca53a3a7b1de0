#include "Core/Logging.hpp"

#include <gtest/gtest.h>
#include <source_location>

namespace velmora {
namespace {

struct SignatureCase {
    const char* compilerName; // as g++ 12 writes std::source_location::function_name()
    const char* expected;
};

class FunctionSignature : public ::testing::TestWithParam<SignatureCase> {};

TEST_P(FunctionSignature, DropsReturnTypeQualificationAndNamespaces) {
    EXPECT_EQ(functionSignature(GetParam().compilerName), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    GccNames, FunctionSignature,
    ::testing::Values(
        SignatureCase{"void velmora::LockEngine::start()", "start()"},
        SignatureCase{
            "void velmora::LockEngine::handleStateTransition(const velmora::LockTransitionResult&)",
            "handleStateTransition(const LockTransitionResult&)"},
        SignatureCase{"bool velmora::Engine::isLocked(const std::string&, int) const",
                      "isLocked(const std::string&, int)"},
        SignatureCase{"static std::shared_ptr<velmora::Engine> velmora::Engine::shared()",
                      "shared()"},
        SignatureCase{"velmora::Engine::Engine()", "Engine()"},
        SignatureCase{"velmora::Engine::~Engine()", "~Engine()"},
        SignatureCase{"int main()", "main()"}, SignatureCase{"void freeFn()", "freeFn()"},
        SignatureCase{"int velmora::{anonymous}::helper(int)", "helper(int)"},
        SignatureCase{"void velmora::Engine::logLevel(velmora::LogLevel)", "logLevel(LogLevel)"},
        SignatureCase{"void velmora::Engine::refq() &", "refq()"},
        SignatureCase{"auto velmora::Engine::autoRet()", "autoRet()"},
        SignatureCase{"void velmora::Engine::local()::L::m()", "m()"},
        // Parameter lists with parentheses and brackets of their own.
        SignatureCase{"void velmora::Engine::arr(const char*, int (&)[3])",
                      "arr(const char*, int (&)[3])"},
        SignatureCase{"void velmora::Engine::fptr(void (*)(int))", "fptr(void (*)(int))"},
        SignatureCase{"void velmora::Engine::cb(std::function<void(int)>)",
                      "cb(std::function<void(int)>)"},
        SignatureCase{"std::optional<std::__cxx11::basic_string<char> > velmora::Engine::find("
                      "const std::vector<std::__cxx11::basic_string<char> >&, "
                      "std::map<std::__cxx11::basic_string<char>, int>)",
                      "find(const std::vector<std::string>&, std::map<std::string, int>)"},
        // Templates.
        SignatureCase{"void velmora::Engine::put(T) [with T = std::__cxx11::basic_string<char>]",
                      "put(T)"},
        SignatureCase{"void velmora::Box<T>::put(T) [with T = int]", "put(T)"},
        SignatureCase{"void velmora::Tpl<T>::both(T, U) [with U = double; T = int]", "both(T, U)"},
        // Operators.
        SignatureCase{"void velmora::Engine::operator()(int)", "operator()(int)"},
        SignatureCase{"bool velmora::Engine::operator<(const velmora::Engine&) const",
                      "operator<(const Engine&)"},
        SignatureCase{"int velmora::Op::operator>>(int)", "operator>>(int)"},
        SignatureCase{"velmora::Op& velmora::Op::operator=(const velmora::Op&)",
                      "operator=(const Op&)"},
        SignatureCase{"velmora::Engine::operator bool() const", "operator bool()"},
        SignatureCase{"velmora::E::operator std::string() const", "operator std::string()"},
        SignatureCase{"static void velmora::Op::operator delete(void*)", "operator delete(void*)"},
        // Lambdas report the function they are written in.
        SignatureCase{"velmora::Engine::lambda()::<lambda()>", "lambda()"},
        SignatureCase{"velmora::Engine::lambda()::<lambda(int)>::<lambda()>", "lambda()"},
        SignatureCase{"velmora::E::c() const::<lambda()>", "c()"},
        SignatureCase{"velmora::E::operator()(int) const::<lambda()>", "operator()(int)"},
        SignatureCase{"velmora::Engine::generic()::<lambda(auto:14)> [with auto:14 = int]",
                      "generic()"},
        SignatureCase{"main()::<lambda()>", "main()"},
        // A lambda outside any function has only itself to show.
        SignatureCase{"velmora::<lambda()>", "<lambda()>"},
        SignatureCase{"velmora::S::<lambda()>", "<lambda()>"},
        SignatureCase{"velmora::<lambda()>::<lambda()>", "<lambda()>"}));

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

TEST(LogLevelWord, NamesEachLevelInCapitals) {
    EXPECT_EQ(logLevelWord(LogLevel::debug), "DEBUG");
    EXPECT_EQ(logLevelWord(LogLevel::info), "INFO");
    EXPECT_EQ(logLevelWord(LogLevel::warn), "WARN");
    EXPECT_EQ(logLevelWord(LogLevel::error), "ERROR");
    EXPECT_EQ(logLevelWord(LogLevel::fatal), "FATAL");
}

} // namespace
} // namespace velmora
