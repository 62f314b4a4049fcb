import static org.junit.Assert.*;

import java.awt.*;
import java.awt.event.InputEvent;
import java.awt.event.ItemEvent;
import java.awt.event.MouseEvent;
import java.awt.image.BufferedImage;
import java.io.File;
import java.nio.file.Files;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.concurrent.Callable;
import java.util.concurrent.FutureTask;
import javax.imageio.ImageIO;
import org.junit.After;
import org.junit.BeforeClass;
import org.junit.Rule;
import org.junit.Test;
import org.junit.rules.TemporaryFolder;

/** The applet as a visitor meets it on an album page, in a window on a (virtual) display. */
@SuppressWarnings("removal")
public class PhotoAlbumTest {
  @Rule public TemporaryFolder temp = new TemporaryFolder();

  private Frame frame_;

  // The first MouseEvent initialises its class under the toolkit's lock; if that
  // happens on the event thread while the X event thread is delivering a pointer
  // crossing (which also needs the class), the two wait for each other for ever. Load
  // the class once, before any window exists.
  @BeforeClass
  public static void initialiseMouseEvents() throws Exception {
    Class.forName(MouseEvent.class.getName(), true, PhotoAlbumTest.class.getClassLoader());
  }

  @After
  public void closeWindow() throws Exception {
    if (frame_ != null) onEdt(() -> { frame_.dispose(); return null; });
  }

  /** A site whose album 0 lists {name, comment, "WxH"} pictures, drawn that size unless "". */
  private AlbumSite site(String charset, String[]... entries) throws Exception {
    AlbumSite site = new AlbumSite(temp.newFolder());
    for (int i = 0; i < entries.length; i++) {
      if (entries[i][2].isEmpty()) continue;
      String[] size = entries[i][2].split("x");
      Color color = new Color(Color.HSBtoRGB(i / 3f + 0.55f, 0.6f, 0.7f));
      site.writePicture(0, entries[i][0], Integer.parseInt(size[0]), Integer.parseInt(size[1]), color);
    }
    site.writeIndex(0, charset, entries);
    return site;
  }

  private AlbumSite threePictureSite() throws Exception {
    return site("windows-1252", new String[] {"harbour.jpg", "Boats in the harbour at dawn", "640x420"},
        new String[] {"garden.gif", "", "120x90"}, new String[] {"tower.jpg", "The old tower", "300x900"});
  }

  private PhotoAlbum open(AlbumPageStub stub) throws Exception {
    return onEdt(() -> {
      PhotoAlbum applet = new PhotoAlbum();
      applet.setStub(stub);
      if (frame_ != null) frame_.dispose();  // one window at a time
      frame_ = new Frame("Torvexa");
      frame_.add(applet);
      frame_.setSize(1000, 660);
      applet.init();
      frame_.setVisible(true);
      frame_.validate();
      applet.start();
      return applet;
    });
  }

  private PhotoAlbum open(AlbumSite site) throws Exception {
    return open(new AlbumPageStub(site, 0));
  }

  private static <T> T onEdt(Callable<T> work) throws Exception {
    FutureTask<T> task = new FutureTask<T>(work);
    EventQueue.invokeAndWait(task);
    return task.get();
  }

  /** A left click as the toolkit delivers it: press, release, click in the middle. */
  private static void click(Component target) throws Exception {
    onEdt(() -> {
      for (int id : new int[] {MouseEvent.MOUSE_PRESSED, MouseEvent.MOUSE_RELEASED, MouseEvent.MOUSE_CLICKED}) {
        target.dispatchEvent(new MouseEvent(target, id, System.currentTimeMillis(),
            id == MouseEvent.MOUSE_PRESSED ? InputEvent.BUTTON1_DOWN_MASK : 0,
            target.getWidth() / 2, target.getHeight() / 2, 1, false, MouseEvent.BUTTON1));
      }
      return null;
    });
  }

  @Test
  public void showsOneButtonPerListedPictureUpToOneHundred() throws Exception {
    for (int listed : new int[] {100, 120}) {
      String[][] entries = new String[listed][];
      for (int i = 0; i < listed; i++) entries[i] = new String[] {"p" + i + ".jpg", "comment " + i, ""};
      PhotoAlbum applet = open(site("windows-1252", entries));
      assertEquals(listed + " listed", 100, applet.getIndexPanel().getButtonCount());
      assertEquals(listed + " listed", 100, applet.getPictureCount());
      assertEquals(listed + " listed", listed > 100 ? "Only the first 100 pictures of this album are shown." : "",
          applet.getBanner().getNote());
    }
  }

  /** Picture name / comment / banner position / enabled |< < > >| / selected thumbnails. */
  private static String state(PhotoAlbum applet) {
    LeafPicture picture = applet.getAlbumLeaf().getLeafPicture();
    StringBuilder s = new StringBuilder(picture.getPictureName() + (picture.isMissing() ? " (missing)" : ""))
        .append(" / ").append(applet.getAlbumLeaf().getComment()).append(" / ").append(applet.getBanner().getPosition())
        .append(" / ");
    for (String label : new String[] {"|<", "<", ">", ">|"}) {
      s.append(applet.getNavigationPanel().getButton(label).isEnabled() ? '1' : '0');
    }
    s.append(" / ");
    IndexPanel index = applet.getIndexPanel();
    for (int i = 0; i < index.getButtonCount(); i++) s.append(index.getButton(i).isSelected() ? '1' : '0');
    return s.toString();
  }

  @Test
  public void opensOnTheFirstPictureAndNavigationAndThumbnailsMoveAndStopAtTheEnds() throws Exception {
    PhotoAlbum applet = open(threePictureSite());
    String harbour = "harbour.jpg / Boats in the harbour at dawn / Picture 1 of 3 / 0011 / 100";
    String garden = "garden.gif /  / Picture 2 of 3 / 1111 / 010";
    String tower = "tower.jpg / The old tower / Picture 3 of 3 / 1100 / 001";
    assertEquals(harbour, state(applet));
    String[][] steps = {
      {"<", harbour}, {"|<", harbour}, {">", garden}, {">", tower}, {">", tower}, {">|", tower},
      {"<", garden}, {"|<", harbour}, {">|", tower}, {"thumbnail 0", harbour}, {"thumbnail 2", tower},
    };
    for (String[] step : steps) {
      click(step[0].startsWith("thumbnail ")
          ? applet.getIndexPanel().getButton(Integer.parseInt(step[0].substring(10)))
          : applet.getNavigationPanel().getButton(step[0]));
      assertEquals("after " + step[0], step[1], state(applet));
    }
  }

  @Test
  public void shrinkKeepsSmallPicturesAndFitsLargeOnesStretchFills() throws Exception {
    PhotoAlbum applet = open(site("windows-1252", new String[] {"small.jpg", "", "120x80"},
        new String[] {"wide.jpg", "", "3000x1000"}, new String[] {"tall.gif", "", "200x2400"}));
    LeafPicture picture = applet.getAlbumLeaf().getLeafPicture();
    int aw = picture.getWidth();
    int ah = picture.getHeight();
    assertTrue("view area " + aw + "x" + ah, aw > 300 && ah > 200 && aw < 3000 && ah < 1000);

    assertEquals(new Rectangle((aw - 120) / 2, (ah - 80) / 2, 120, 80), picture.getPictureBounds());
    applet.showNext();
    assertEquals(aw, picture.getPictureBounds().width);
    assertEquals(Math.round(aw / 3.0), picture.getPictureBounds().height, 1);
    applet.showNext();
    assertEquals(ah, picture.getPictureBounds().height);
    assertEquals(Math.round(ah / 12.0), picture.getPictureBounds().width, 1);

    onEdt(() -> { applet.getControlPanel().chooseStretch(true); return null; });
    for (int i = 0; i < 3; i++) {
      applet.showPicture(i);
      assertEquals("stretched picture " + i, new Rectangle(0, 0, aw, ah), picture.getPictureBounds());
    }
    onEdt(() -> { applet.getControlPanel().chooseStretch(false); return null; });
    applet.showFirst();
    assertEquals(120, picture.getPictureBounds().width);
  }

  @Test
  public void zoomLevelsScaleTheViewAreaAboutItsCentre() throws Exception {
    PhotoAlbum applet = open(threePictureSite());
    LeafPicture picture = applet.getAlbumLeaf().getLeafPicture();
    Rectangle max = applet.getAlbumLeaf().getShadowArea().getMaximumViewArea();
    Choice zoom = applet.getControlPanel().getZoomChoice();
    assertEquals("100%", zoom.getSelectedItem());
    for (int percent : new int[] {25, 50, 75, 100}) {
      onEdt(() -> {
        zoom.select(percent + "%");
        zoom.dispatchEvent(new ItemEvent(zoom, ItemEvent.ITEM_STATE_CHANGED, percent + "%", ItemEvent.SELECTED));
        return null;
      });
      String label = percent + "%";
      assertEquals(label, max.width * percent / 100, picture.getWidth());
      assertEquals(label, max.height * percent / 100, picture.getHeight());
      assertEquals(label, max.x + max.width / 2, picture.getX() + picture.getWidth() / 2, 1);
      assertEquals(label, max.y + max.height / 2, picture.getY() + picture.getHeight() / 2, 1);
    }
  }

  @Test
  public void readsTheIndexAsUtf8WhenValidElseAsWindows1252() throws Exception {
    String[][] cases = {
      {"UTF-8", "Été #1 & more.jpg", "Café am Fluß — Ωμέγα ☀ 東京"},
      {"windows-1252", "a.jpg", "Café « Noël » 3 € – Ærø"},
    };
    for (String[] c : cases) {
      PhotoAlbum applet = open(site(c[0], new String[] {c[1], c[2], "60x40"}));
      assertEquals(c[0], c[2], applet.getAlbumLeaf().getComment());
      assertFalse(c[0], applet.getAlbumLeaf().getLeafPicture().isMissing());  // blanks and accents in the name
    }
  }

  @Test
  public void indexEntriesKeepOrderEmptyCommentsAndTildes() {
    List<String> names = new ArrayList<String>();
    List<String> comments = new ArrayList<String>();
    assertFalse(PhotoAlbum.parseIndex(
        "a.jpg\r\nSunset\r\n~\r\nb.gif\r\n\r\n~\r\nc.jpg\r\n~\r\n~\r\nd.jpg\r\nx ~ y\r\n~\r\n", names, comments, 100));
    assertEquals(Arrays.asList("a.jpg", "b.gif", "c.jpg", "d.jpg"), names);
    assertEquals(Arrays.asList("Sunset", "", "~", "x ~ y"), comments);
  }

  @Test
  public void aPictureThatCannotBeLoadedShowsItsNameAndComment() throws Exception {
    AlbumSite site = site("windows-1252", new String[] {"gone.jpg", "Lost on the way", ""},
        new String[] {"harbour.jpg", "Boats", "50x50"}, new String[] {"notapicture.jpg", "Broken file", ""});
    Files.write(new File(site.codeBase, "images/album-0/notapicture.jpg").toPath(), "not an image".getBytes("US-ASCII"));
    PhotoAlbum applet = open(site);
    assertEquals("gone.jpg (missing) / Lost on the way / Picture 1 of 3 / 0011 / 100", state(applet));
    assertNull(applet.getAlbumLeaf().getLeafPicture().getPictureBounds());
    applet.showNext();
    assertEquals("harbour.jpg / Boats / Picture 2 of 3 / 1111 / 010", state(applet));
    applet.showNext();
    assertEquals("notapicture.jpg (missing) / Broken file / Picture 3 of 3 / 1100 / 001", state(applet));
  }

  @Test
  public void aMissingOrEmptyIndexShowsAMessage() throws Exception {
    String[][] cases = {
      {"missing", "This album's picture list could not be read."},
      {"empty", "This album holds no pictures."},
      {"no parameter", "This album's picture list could not be read."},
    };
    for (String[] c : cases) {
      AlbumSite site = new AlbumSite(temp.newFolder());
      AlbumPageStub stub = new AlbumPageStub(site, 0);
      if (c[0].equals("empty")) site.writeIndex(0, "windows-1252", new String[0][]);
      if (c[0].equals("no parameter")) stub.parameters.remove("index_file");
      PhotoAlbum applet = open(stub);
      assertEquals(c[0], c[1], applet.getAlbumLeaf().getLeafPicture().getMessage());
      assertEquals(c[0], 0, applet.getIndexPanel().getButtonCount());
      assertFalse(c[0], applet.getNavigationPanel().getButton(">").isEnabled());
      click(applet.getNavigationPanel().getButton(">|"));
      assertEquals(c[0], -1, applet.getCurrentPicture());
    }
  }

  @Test
  public void coloursComeFromTheParametersOrFallBack() throws Exception {
    Object[][] cases = {  // frame, text, then the colours they give
      {"00CCFF", "0000FF", 0x00CCFF, 0x0000FF}, {"#336699", "ffcc00", 0x336699, 0xFFCC00},
      {"12345", "GGGGGG", 0x00CCFF, 0x0000FF}, {"", "0x00FF00", 0x00CCFF, 0x0000FF},
    };
    AlbumSite site = threePictureSite();
    for (Object[] c : cases) {
      AlbumPageStub stub = new AlbumPageStub(site, 0);
      stub.parameters.put("frame_bg_color", (String) c[0]);
      stub.parameters.put("text_prompt_color", (String) c[1]);
      PhotoAlbum applet = open(stub);
      assertEquals((String) c[0], new Color((Integer) c[2]), applet.getBackground());
      assertEquals((String) c[1], new Color((Integer) c[3]), applet.getAlbumLeaf().getForeground());
    }
  }

  @Test
  public void screenshotOfAThreePictureAlbum() throws Exception {
    PhotoAlbum applet = open(threePictureSite());
    Robot robot = new Robot();
    robot.waitForIdle();
    Thread.sleep(1500);
    robot.waitForIdle();
    Rectangle bounds = onEdt(() -> new Rectangle(applet.getLocationOnScreen(), applet.getSize()));
    BufferedImage shot = robot.createScreenCapture(bounds);
    ImageIO.write(shot, "png", new File(System.getProperty("quorvale.screenshot", "viewer_applet.png")));

    // The picture is drawn in the view area, and the frame keeps its colour around it.
    LeafPicture picture = applet.getAlbumLeaf().getLeafPicture();
    Rectangle area = onEdt(() -> new Rectangle(picture.getLocationOnScreen(), picture.getSize()));
    assertNotEquals(new Color(0x20, 0x20, 0x20).getRGB(),
        shot.getRGB((int) area.getCenterX() - bounds.x, (int) area.getCenterY() - bounds.y));
    assertEquals(new Color(0x00CCFF).getRGB(), shot.getRGB(2, shot.getHeight() - 2));
  }
}
