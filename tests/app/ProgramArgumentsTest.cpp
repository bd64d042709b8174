// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "app/ProgramArguments.h"

namespace {

using Action = ProgramArguments::Action;

ProgramArguments Parse(QStringList words)
{
    return ProgramArguments::Parse(QStringList{QStringLiteral("mnemora-xp")} + words);
}

TEST(ProgramArguments, ChoosesWhatTheProgramDoes)
{
    EXPECT_EQ(Parse({}).action, Action::Show) << "a plain start shows the running instance";
    EXPECT_EQ(Parse({"--show"}).action, Action::Show);
    EXPECT_TRUE(Parse({"--show"}).keepWindow) << "a first start asked to show stays shown";
    EXPECT_FALSE(Parse({}).keepWindow) << "a plain first start goes to the tray";
    EXPECT_EQ(Parse({"--recover"}).action, Action::Recover);
    EXPECT_EQ(Parse({"--recover", "--kernel"}).action, Action::RecoverByKernel);
    EXPECT_EQ(Parse({"--kernel", "--recover"}).action, Action::RecoverByKernel);
    EXPECT_EQ(Parse({"-v"}).action, Action::Version);
    EXPECT_EQ(Parse({"--version"}).text, QStringLiteral("mnemora-xp 4.0.0\n"));

    const ProgramArguments help = Parse({"--help"});
    EXPECT_EQ(help.action, Action::Help);
    EXPECT_TRUE(help.text.startsWith(QStringLiteral("Usage: mnemora-xp [options]"))) << help.text.toStdString();
    for (const char* option : {"--recover", "--kernel", "--show", "--help", "--version"})
        EXPECT_TRUE(help.text.contains(QLatin1String(option))) << option;
    EXPECT_EQ(Parse({"-h", "--recover"}).action, Action::Help) << "help wins over the rest";
}

TEST(ProgramArguments, RefusesWhatItDoesNotKnowAndSaysWhat)
{
    for (const char* word : {"--recovery", "-r", "--show=1", "recover"}) {
        const ProgramArguments parsed = Parse({QString::fromUtf8(word)});
        EXPECT_EQ(parsed.action, Action::Invalid) << word;
        EXPECT_FALSE(parsed.text.isEmpty()) << word;
    }
    EXPECT_EQ(Parse({"--recover", "--show"}).action, Action::Invalid);
    EXPECT_EQ(Parse({"--kernel"}).action, Action::Invalid) << "the kernel's run is a recovery";
    EXPECT_EQ(Parse({"--show", "--kernel"}).action, Action::Invalid);
}

}  // namespace
