! Writes the reference options file read by tests/moor/e/td_options_test.cpp:
! the defaults of every slot, a storm of 3 hours and four fairlead picks
! (7, 3, 12, 1), with the line formats of the options file.
! Build and run once from tests/data/options:
!   gfortran -o /tmp/write_gustrdat ../../moor/e/gfortran/write_gustrdat.f90 && /tmp/write_gustrdat
! Output: gfortran_GUSTRDAT (its first line is not compared).
program write_gustrdat
  implicit none
  character, parameter :: tab = char(9)
  logical :: lval(0:52)
  integer :: ival(0:31)
  real :: rval(0:51)
  integer :: picks(4) = (/ 7, 3, 12, 1 /)
  real :: storm = 3.0
  character(len=17) :: fmtver, edver
  integer :: i

  lval = .false.
  lval(3) = .true.
  lval(4) = .true.
  lval(5) = .true.
  lval(11) = .true.
  lval(12) = .true.
  lval(13) = .true.
  lval(18) = .true.
  lval(19) = .true.
  lval(20) = .true.
  lval(21) = .true.
  lval(22) = .true.
  lval(23) = .true.
  lval(24) = .true.
  lval(26) = .true.

  ival = 0
  ival(1) = 4        ! nFldReports
  ival(2) = 1        ! addDampIndex
  ival(3) = 3        ! interpOrder

  rval = 0.0
  rval(7) = 1.0      ! cfpReduction
  rval(8:10) = 1.0   ! crntForceMultiplier x, y, z
  rval(11) = 0.5     ! deltaT
  rval(13) = 3600.0 * storm  ! fullDuration
  rval(16:19) = 1.0  ! lineDragFac, surgeAMfac, swayAMfac, swayCdEnhancement
  rval(21:23) = 1.0  ! windForceMultiplier x, y, z
  rval(24:25) = 1.0  ! yawAMfac, yawCdEnhancement
  rval(26:27) = 1.0  ! relSolvTolFac, absSolvTolFac

  write(fmtver, '(F4.2,".0",I1," ")') 1.25, 2
  write(edver, '(F4.2,".0",I1," ")') 6.8, 0

  open(1233, file='gfortran_GUSTRDAT', form='formatted', status='replace')
  write(1233, '(A)') ' written by gfortran'
  write(1233, '(7A)') 'GUSTRDAT Ver [', trim(fmtver), '];', tab, ' Brenvik Ver [', trim(edver), ']'
  write(1233, '(3(A,I3))') tab, 53, tab, 32, tab, 52
  write(1233, '(A,F10.2,A,I3)') tab, 3600.0 * storm, tab, 4
  write(1233, '(100(A,L1))') (tab, lval(i), i = 0, 52)
  write(1233, '(100(A,I3))') (tab, ival(i), i = 0, 31)
  write(1233, '(100(A,I3))') (tab, picks(i), i = 1, 4)
  write(1233, '(100(A,I3))') (tab, picks(i), i = 1, 4)
  write(1233, '(100(A,E14.7))') (tab, rval(i), i = 0, 51)
  close(1233)
end program write_gustrdat
