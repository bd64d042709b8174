// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "cli/RecoverArguments.h"
#include "cli/TerminalProgress.h"

namespace {

using Method = RecoverArguments::Method;

TEST(RecoverArguments, ChoosesTheMethodFromTheOneArgument)
{
    EXPECT_EQ(RecoverArguments::Parse({}).method, Method::System);
    EXPECT_EQ(RecoverArguments::Parse({"all"}).method, Method::All);
    EXPECT_EQ(RecoverArguments::Parse({"--help"}).method, Method::Help);
    EXPECT_EQ(RecoverArguments::Parse({"-h"}).method, Method::Help);
    EXPECT_EQ(RecoverArguments::Parse({"--version"}).method, Method::Version);
    EXPECT_EQ(RecoverArguments::Parse({"-v"}).method, Method::Version);
    EXPECT_EQ(RecoverArguments::VersionText(), QStringLiteral("mnemora-recover 4.0.0"));
    EXPECT_EQ(RecoverArguments::Parse({"--", "all"}).method, Method::All) << "the usual end of the options";

    const RecoverArguments amount = RecoverArguments::Parse({"256"});
    EXPECT_EQ(amount.method, Method::Amount);
    EXPECT_EQ(amount.megabytes, 256);
    EXPECT_EQ(RecoverArguments::Parse({"0"}).megabytes, 0);
    EXPECT_EQ(RecoverArguments::Parse({"2147483647"}).megabytes, INT32_MAX);
}

TEST(RecoverArguments, KernelGoesWithEveryAmountAndNotAlone)
{
    EXPECT_FALSE(RecoverArguments::Parse({"256"}).kernel);
    const RecoverArguments plain = RecoverArguments::Parse({"--kernel"});
    EXPECT_EQ(plain.method, Method::System) << "the same default amount as a plain run";
    EXPECT_TRUE(plain.kernel);
    const RecoverArguments amount = RecoverArguments::Parse({"1024", "--kernel"});
    EXPECT_EQ(amount.method, Method::Amount);
    EXPECT_EQ(amount.megabytes, 1024);
    EXPECT_TRUE(amount.kernel);
    EXPECT_EQ(RecoverArguments::Parse({"--kernel", "all"}).method, Method::All);
    for (const char* word : {"--kernel=1024", "--kernels", "-k"}) {
        const RecoverArguments parsed = RecoverArguments::Parse({QString::fromUtf8(word)});
        EXPECT_EQ(parsed.method, Method::Invalid) << word;
        EXPECT_TRUE(parsed.problem.contains(QString::fromUtf8(word))) << parsed.problem.toStdString();
    }
    EXPECT_TRUE(RecoverArguments::Usage().contains(QLatin1String("--kernel")));
}

TEST(RecoverArguments, RejectsWhatIsNotAnAmountAndSaysWhat)
{
    for (const char* word : {"abc", "-5", "12MB", "1.5", "", " 12", "12\n", "12 ", "2147483648", "99999999999", "ALL",
                             "+3", "--all", "--help=x"}) {
        const RecoverArguments parsed = RecoverArguments::Parse({QString::fromUtf8(word)});
        EXPECT_EQ(parsed.method, Method::Invalid) << word;
        EXPECT_TRUE(parsed.problem.contains(QString::fromUtf8(word))) << parsed.problem.toStdString();
    }
    const RecoverArguments two = RecoverArguments::Parse({"12", "all"});
    EXPECT_EQ(two.method, Method::Invalid);
    EXPECT_FALSE(two.problem.isEmpty());
}

TEST(TerminalProgress, RedrawsOneLineAndEndsIt)
{
    char buffer[512] = {};
    std::FILE* out = ::fmemopen(buffer, sizeof buffer, "w");
    TerminalProgress progress(out, 10);
    progress.Draw(0);
    progress.Draw(55);
    progress.Draw(140);
    progress.Finish();
    progress.Finish();
    std::fclose(out);
    EXPECT_STREQ(buffer, "\r[..........]   0 %\r[#####.....]  55 %\r[##########] 100 %\n");
}

}  // namespace
