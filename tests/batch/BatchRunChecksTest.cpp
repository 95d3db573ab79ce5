// What kavrin-batch run refuses before it creates anything, each with a
// message that names what is wrong.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/wait.h>

using kavrin::test::ReadBytes;
using kavrin::test::TempFolder;

TEST(BatchRunChecks, RefusedRunsNameTheirCauseAndCreateNothing)
{
    struct Case {
        std::string arguments;
        std::string message;
    };
    const Case cases[] = {
        {"--set DX=-1", "The grid step DX must be greater than zero when X1 lies beyond X0."},
        {"--set DY=-0.5", "The grid step DY must be greater than zero when Y1 lies beyond Y0."},
        {"--set T0=0 --set T1=1000000 --set DT=1", "the run would write more than 1000000 time files"},
        {"--set T0=1 --set T1=1.000000000000005 --set DT=1e-15",
         "The times 1 and 1.0000000000000011 would both be written to the file T1.txt"},
        {"--set T0=1e15 --set T1=1000000000000000.5 --set DT=0.1",
         "The times 1000000000000000 and 1000000000000000.1 would both be written to the file T1E15.txt"},
        {"--set X1=450 --set Y0=-225 --set T0=1 --set T1=1000000 --set DT=1", "The run's 1000000 time files need 4.7 TB"},
        {"--name $'Caf\\xe9'", "The project name holds bytes that are not text"},
        {"--set Porosity=0", "The Porosity (effective porosity) must be greater than 0 and not greater than 1."},
        {"--set Porosity=2", "The Porosity (effective porosity) must be greater than 0 and not greater than 1."},
        {"--set AlphaX=-1", "The AlphaX (dispersivity in X) must be a finite number not less than 0."},
        {"--set Decay=-0.1", "The Decay (decay rate) must be a finite number not less than 0."},
        {"--set GaussOrder=64", "The Gauss-Legendre order (GaussOrder) 64 is not in the quadrature table. Choose 4, 20, 60, 104"},
        {"--set SourceHistory=stop --set ReleaseEnd=-3",
         "The ReleaseEnd (release end time, days) must be a finite number greater than 0."},
        {"--set SourceHistory=decay", "The decaying source needs its decay rate (SourceDecay, 1/day) or half-life"},
        {"--set ControlPlaneX=500", "The ControlPlaneX (control plane position, m) must lie between 0 and X1"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string command = "KAVRIN_ROOT=" + folder.path() + "KAVRIN KAVRIN_DECIMAL_SEPARATOR=. bash -c \"" +
                                    KAVRIN_BIN_DIR + "kavrin-batch run " + c.arguments + "\" >" + folder.path() + "out.txt 2>" +
                                    folder.path() + "err.txt";
        const int status = std::system(command.c_str());
        EXPECT_EQ(WEXITSTATUS(status), 1) << c.arguments;
        const std::string err = ReadBytes(folder.path() + "err.txt");
        EXPECT_NE(err.find(c.message), std::string::npos) << c.arguments << ": " << err;
        EXPECT_EQ(err.find('\n'), err.size() - 1) << "one line";
        EXPECT_FALSE(std::filesystem::exists(folder.path() + "KAVRIN")) << c.arguments;
    }
}
