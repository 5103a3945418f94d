#include "SimOptions.h"

#include <gtest/gtest.h>

TEST(SimOptions, DemoIntervalTakesWholeSecondsUpToAnHour)
{
    struct Case
    {
        QStringList args;
        std::optional<int> seconds; // nullopt: refused
    };
    const Case cases[] = {
        {{QStringLiteral("--demo-interval"), QStringLiteral("0")}, 0},
        {{QStringLiteral("--demo-interval"), QStringLiteral("2")}, 2},
        {{QStringLiteral("--demo-interval"), QStringLiteral("3600")}, 3600},
        {{QStringLiteral("--demo-interval"), QStringLiteral("3601")}, std::nullopt},
        {{QStringLiteral("--demo-interval"), QStringLiteral("-1")}, std::nullopt},
        {{QStringLiteral("--demo-interval"), QStringLiteral("1.5")}, std::nullopt},
        {{QStringLiteral("--demo-interval"), QStringLiteral("")}, std::nullopt},
        {{QStringLiteral("--demo"), QStringLiteral("--demo-interval")}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.args.join(u' ')));
        QString error;
        const auto options = SimOptions::parse(c.args, &error);
        ASSERT_EQ(options.has_value(), c.seconds.has_value());
        if (options)
            EXPECT_EQ(options->demoIntervalSeconds, c.seconds);
        else
            EXPECT_FALSE(error.isEmpty());
    }
}

TEST(SimOptions, WithoutDemoIntervalThePausesStayRandom)
{
    QString error;
    const auto options =
        SimOptions::parse({QStringLiteral("--demo"), QStringLiteral("--seed"), QStringLiteral("4")}, &error);
    ASSERT_TRUE(options);
    EXPECT_FALSE(options->demoIntervalSeconds.has_value());
    EXPECT_TRUE(SimOptions::helpText().contains(QLatin1String("--demo-interval S")));
}
