// Sample-accurate values from a host parameter queue.
#include "hostbinding/paramupdatequeue.h"

#include "hosting/parameterchanges.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Zaze2VST3;

namespace {

using Delivery = std::vector<std::pair<int, double>>;

// Runs getNextValue over a whole block and records what the queue delivers.
Delivery deliver(CVSTParamUpdateQueue& queue, int nBlockSize)
{
	Delivery values;
	for (int i = 0; i < nBlockSize; ++i)
	{
		double dValue = -1.0;
		if (queue.getNextValue(&dValue))
			values.emplace_back(i, dValue);
	}
	return values;
}

ParameterValueQueue hostQueue(std::initializer_list<std::pair<int32, double>> points)
{
	ParameterValueQueue queue;
	queue.setParamID(7);
	for (const auto& point : points)
	{
		int32 nIndex = 0;
		queue.addPoint(point.first, point.second, nIndex);
	}
	return queue;
}

} // namespace

TEST(ParamUpdateQueue, RampFromZeroDeliversOnTheGranularityGrid)
{
	int32 nGranularity = 16;
	CVSTParamUpdateQueue queue(&nGranularity);
	ParameterValueQueue host = hostQueue({{0, 0.0}, {63, 1.0}});
	queue.attach(&host, 64);
	EXPECT_EQ(queue.getParameterIndex(), 7);
	const Delivery values = deliver(queue, 64);
	const Delivery expected = {{16, 16.0 / 63}, {32, 32.0 / 63}, {48, 48.0 / 63}, {63, 1.0}};
	ASSERT_EQ(values.size(), expected.size());
	for (size_t i = 0; i < expected.size(); ++i)
	{
		EXPECT_EQ(values[i].first, expected[i].first);
		EXPECT_NEAR(values[i].second, expected[i].second, 1e-6);
	}
}

TEST(ParamUpdateQueue, LateFirstPointDeliversItsOwnOffsetAndTheLine)
{
	int32 nGranularity = 16;
	CVSTParamUpdateQueue queue(&nGranularity);
	ParameterValueQueue host = hostQueue({{10, 0.2}, {63, 0.6}});
	queue.attach(&host, 64);
	const Delivery values = deliver(queue, 64);
	const std::vector<int> offsets = {10, 16, 32, 48, 63};
	ASSERT_EQ(values.size(), offsets.size());
	for (size_t i = 0; i < offsets.size(); ++i)
	{
		EXPECT_EQ(values[i].first, offsets[i]);
		EXPECT_NEAR(values[i].second, 0.2 + (offsets[i] - 10) * 0.4 / 53, 1e-6);
	}
}

TEST(ParamUpdateQueue, FlatQueuesDeliverNothing)
{
	int32 nGranularity = 1;
	for (auto points : {std::vector<std::pair<int32, double>>{{0, 0.4}},
	                    std::vector<std::pair<int32, double>>{{0, 0.4}, {20, 0.4}, {40, 0.4}}})
	{
		CVSTParamUpdateQueue queue(&nGranularity);
		ParameterValueQueue host;
		host.setParamID(1);
		for (const auto& point : points)
		{
			int32 nIndex = 0;
			host.addPoint(point.first, point.second, nIndex);
		}
		queue.attach(&host, 64);
		EXPECT_TRUE(deliver(queue, 64).empty()) << points.size();
	}
}

TEST(ParamUpdateQueue, DetachedOrEmptyQueueIsHarmless)
{
	int32 nGranularity = 1;
	CVSTParamUpdateQueue queue(&nGranularity);
	EXPECT_EQ(queue.getParameterIndex(), -1);
	double dValue = 0.0;
	EXPECT_FALSE(queue.getValueAtOffset(0, 0.0, &dValue));
	ParameterValueQueue host = hostQueue({});
	queue.attach(&host, 0);
	EXPECT_TRUE(deliver(queue, 8).empty());
	// Two points at one offset make a step without slope rather than a division by zero.
	ParameterValueQueue step = hostQueue({{0, 0.1}});
	queue.attach(&step, 0);
	EXPECT_TRUE(deliver(queue, 4).empty());
	queue.detach();
	EXPECT_FALSE(queue.isAttached());
}
