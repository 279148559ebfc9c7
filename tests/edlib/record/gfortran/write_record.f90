! Writes the reference records read back by tests/edlib/record/data_record_test.cpp.
! Build and run once from tests/data/records:
!   gfortran -o /tmp/write_record ../../edlib/record/gfortran/write_record.f90 && /tmp/write_record
! Output: gfortran_RONDDAT (1,987 words, word 0 = 1987) and gfortran_LOWDAT
! (680 words, no count word), both one unformatted big-endian record.
program write_record
  implicit none
  integer, parameter :: n = 1987
  integer :: iw(0:n-1)
  real :: rw(0:n-1)
  equivalence (iw, rw)
  character(len=80) :: line1, line2
  character(len=8) :: segname
  integer :: i

  iw = 0
  iw(0) = n
  iw(1) = 4
  iw(14) = 149
  iw(111) = 2020
  iw(116) = 1
  iw(120) = 21
  iw(166) = 30
  rw(216) = 6.8
  iw(699) = -1983
  iw(700) = 5
  iw(773) = 273
  iw(774) = 273
  iw(786) = 273
  line1 = 'ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwxyz!#$%&()*+,-./:;<=>'
  line2 = 'Disc buoy written by gfortran'
  iw(59:78) = transfer(line1, iw(59:78))
  iw(79:98) = transfer(line2, iw(79:98))
  rw(300) = -0.0
  iw(301) = int(z'7FC01234')
  iw(302) = int(z'7F800001')
  rw(303) = 3.14159274
  rw(304) = -1.0e-30
  rw(305) = huge(1.0)
  iw(306) = -huge(1) - 1
  iw(307) = -1
  rw(308) = 28.65
  segname = 'LINE-A01'
  iw(400:401) = transfer(segname, iw(400:401))
  iw(1986) = 123456789

  open(10, file='gfortran_RONDDAT', access='sequential', form='unformatted', &
       convert='big_endian', status='replace')
  write(10) iw(0:n-1)
  close(10)

  iw = 0
  iw(0) = 19
  iw(1) = 10
  do i = 1, 19
    rw(3 + i) = 10.0 * (i - 1)
    rw(24 + i) = -0.5 + 0.05 * (i - 1)
    rw(45 + i) = 0.1 * (i - 1)
    rw(66 + i) = -0.01 * (i - 1)
  end do
  rw(88) = 0.0
  rw(130) = 0.75
  rw(151) = -0.125
  iw(679) = 679

  open(10, file='gfortran_LOWDAT', access='sequential', form='unformatted', &
       convert='big_endian', status='replace')
  write(10) rw(0:679)
  close(10)
end program write_record
